#pragma once
// The date line above the digital clock, fitted into the corner it is centred in: the
// chosen format at the size the clock asks for while it fits, else a smaller size down
// to a readable floor, else a shorter form of the same date.
#include <cstdint>
#include <string>
#include <vector>

#include "display/Surface.h"

namespace zk {

class DateLine {
 public:
  // The smallest size a date is shrunk to before a shorter form is taken (points).
  static constexpr double FloorPoints = 7;

  struct Fit {
    std::string text;
    double points = 0;
  };

  // The forms of a date serial from the longest to the shortest: for the long format the
  // system's long date, the same with the weekday and month names abbreviated, then the
  // short date; for the short format the short date alone.
  static std::vector<std::string> Forms(int32_t dateSerial, bool longFormat);

  // The first form that is at most `room` user units wide on `panel` at a size from
  // `points` down to the floor (or to `points` when that is smaller still). When not even
  // the shortest form fits at the floor, the shortest form at the size that fits. The
  // panel's font size is left at the size returned.
  static Fit Choose(Surface& panel, const std::vector<std::string>& forms, double points, double room);

  // Prints the date centred on x with its bottom at y (the time's top), wiping the date
  // this line printed before when it differs.
  void Print(Surface& panel, int32_t dateSerial, bool longFormat, double points, double x, double y);

 private:
  Fit shown_;
  double shownX_ = 0, shownY_ = 0;
};

}  // namespace zk
