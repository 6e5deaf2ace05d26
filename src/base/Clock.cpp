#include "base/Clock.h"

namespace zk {

namespace {
// Days from the civil epoch 1970-01-01 (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}
const int64_t SerialEpoch = DaysFromCivil(1899, 12, 30);
}  // namespace

double Timer_Elapsed(double from, double to) { return to >= from ? to - from : to + 86400.0 - from; }

int32_t DateSerial(int year, int month, int day) {
  return static_cast<int32_t>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                              SerialEpoch);
}

DateTime DateFromSerial(int32_t serial) {
  int64_t z = serial + SerialEpoch + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  DateTime t;
  t.year = static_cast<int>(y + (m <= 2));
  t.month = static_cast<int>(m);
  t.day = static_cast<int>(d);
  return t;
}

DateTime DateTimeOf(int32_t serial, int32_t secondsOfDay) {
  DateTime t = DateFromSerial(serial);
  t.hour = secondsOfDay / 3600;
  t.minute = secondsOfDay / 60 % 60;
  t.second = secondsOfDay % 60;
  return t;
}

}  // namespace zk
