#include "base/Numbers.h"

#include <gtest/gtest.h>

#include "base/Clock.h"

namespace zk {

TEST(Numbers, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(1.4), 1);
  EXPECT_EQ(RoundHalfEven(1.6), 2);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
}

TEST(Numbers, RangeChecksForSixteenAndThirtyTwoBits) {
  EXPECT_EQ(TryCInt16(32767.4), 32767);
  EXPECT_FALSE(TryCInt16(32767.5));        // rounds to 32768
  EXPECT_EQ(TryCInt16(-32768.5), -32768);  // half to even stays in range
  EXPECT_FALSE(TryCInt16(40000));
  EXPECT_THROW(CInt16(40000), OverflowError);
  EXPECT_EQ(CInt32(40000), 40000);
  EXPECT_THROW(CInt32(3e9), OverflowError);
  EXPECT_EQ(CByte(255.4), 255);
  EXPECT_THROW(CByte(-1), OverflowError);
}

TEST(Numbers, IntegerDivisionTruncatesTowardZero) {
  EXPECT_EQ(IntDiv(7, 2), 3);
  EXPECT_EQ(IntDiv(-7, 2), -3);
  EXPECT_EQ(IntDiv(-3497, 10), -349);
  EXPECT_THROW(IntDiv(1, 0), std::domain_error);
}

TEST(Numbers, ParsesSettingsTexts) {
  EXPECT_EQ(ParseInt16("2.5"), 2);
  EXPECT_EQ(ParseInt16(" 8 "), 8);
  EXPECT_FALSE(ParseInt16("40000"));
  EXPECT_EQ(ParseInt32("40000"), 40000);
  EXPECT_FALSE(ParseInt32("abc"));
  EXPECT_FALSE(ParseInt32(""));
  EXPECT_FALSE(ParseInt32("12,3"));
  EXPECT_EQ(ParseBool("TRUE"), true);
  EXPECT_EQ(ParseBool("false"), false);
  EXPECT_EQ(ParseBool("1"), true);
  EXPECT_EQ(ParseBool("-1"), true);
  EXPECT_EQ(ParseBool("0"), false);
  EXPECT_FALSE(ParseBool("yes"));
  EXPECT_EQ(BoolText(true), "True");
}

TEST(Numbers, DisplayFormats) {
  EXPECT_EQ(Format_0_0h(0.5), "0.5");
  EXPECT_EQ(Format_0_0h(3.45), "3.45");
  EXPECT_EQ(Format_0_0h(6.5), "6.5");
  EXPECT_EQ(Format_0_0h(2.0), "2.0");
  EXPECT_EQ(Format_h0_0(0.9), "0.9");
  EXPECT_EQ(Format_h0_0(81.9), "81.9");
  EXPECT_EQ(Format_000(5), "005");
  EXPECT_EQ(Format_000(1234), "1234");
  EXPECT_EQ(Format_00(9), "09");
  EXPECT_EQ(Format_00(21), "21");
}

TEST(Numbers, FormatTimeShowsHoursOnlyForLongRecordings) {
  EXPECT_EQ(Format_Time(3725, 3600 * 1000), "1:02:05");
  EXPECT_EQ(Format_Time(3725, 10 * 1000), "02:05");
  EXPECT_EQ(Format_Time(59, 0), "00:59");
}

TEST(Dates, SerialsCountFromTheEndOf1899) {
  EXPECT_EQ(DateSerial(1999, 12, 31), 36525);
  EXPECT_EQ(DateSerial(2000, 3, 1), 36586);
  DateTime d = DateFromSerial(36525 + 366 + 60);
  EXPECT_EQ(d.year, 2001);
  EXPECT_EQ(d.month, 3);
  EXPECT_EQ(d.day, 1);
}

}  // namespace zk
