#include <gtest/gtest.h>

#include <QDateTime>
#include <cstdlib>
#include <ctime>

#include "core/QtSeams.h"

namespace zk {
namespace {

// The clock keeps the zone's offset for a minute at a time; its answers must still be
// the local time, in a zone half an hour off a whole hour (a sign or rounding slip shows).
TEST(SystemClockTest, AnswersLocalTimeInAZoneOffByHalfAnHour) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  ::setenv("TZ", "XST-5:30", 1);
  ::tzset();
  SystemClock clock;
  for (int round = 0; round < 3; ++round) {
    const QDateTime before = QDateTime::currentDateTime();
    const double timer = clock.Timer();
    const DateTime now = clock.Now();
    const QDateTime after = QDateTime::currentDateTime();
    if (before.time().second() != after.time().second()) continue;  // a second turned meanwhile
    EXPECT_EQ(before.offsetFromUtc(), 5 * 3600 + 30 * 60);
    EXPECT_GE(timer, before.time().msecsSinceStartOfDay() / 1000.0 - 0.001);
    EXPECT_LE(timer, after.time().msecsSinceStartOfDay() / 1000.0 + 0.001);
    EXPECT_EQ(now.year, before.date().year());
    EXPECT_EQ(now.month, before.date().month());
    EXPECT_EQ(now.day, before.date().day());
    EXPECT_EQ(now.hour, before.time().hour());
    EXPECT_EQ(now.minute, before.time().minute());
    EXPECT_EQ(now.second, before.time().second());
    break;
  }
  if (old)
    ::setenv("TZ", saved.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace zk
