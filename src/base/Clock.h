#pragma once
// Time as the procedures see it: a seconds-since-midnight timer value and today's date
// and time. Tests drive a fake; the program uses the system clock.
#include <cstdint>

namespace zk {

struct DateTime {
  int year = 1999, month = 12, day = 31;
  int hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since midnight, with fractions; runs backwards once a day at midnight.
  virtual double Timer() = 0;
  virtual DateTime Now() = 0;
};

// Seconds from `from` to `to` on the seconds-since-midnight timer, taking a backwards
// step (midnight) as a wrap of one day, so waits and hold times survive midnight.
double Timer_Elapsed(double from, double to);

// Date serials count days from 30/12/1899, so 31/12/1999 is 36525.
int32_t DateSerial(int year, int month, int day);
DateTime DateFromSerial(int32_t serial);
// The day of `serial` at `secondsOfDay` seconds after midnight.
DateTime DateTimeOf(int32_t serial, int32_t secondsOfDay);

}  // namespace zk
