#pragma once
// The clock in an upper corner of picMeterPanel: analogue hands, or a 12- or 24-hour time
// with an optional date line above it.
#include <cstdint>
#include <string>

#include "core/Context.h"
#include "display/DateLine.h"
#include "display/Surface.h"

namespace zk {

class ClockDisplay {
 public:
  ClockDisplay(Context& ctx, Surface& panel, const Surface& bd);

  // The 12-hour clock writes the hour it shows back into `hour`. The second is not shown.
  // A date serial of 36525 (recordings without a date) shows no date line.
  void Update_Clock(int16_t& hour, int16_t& minute, int16_t& second, int32_t dateSerial);

  // The date line's text for a date serial: the system's long or short date format.
  static std::string Date_Text(int32_t dateSerial, bool longFormat);

 private:
  void Analog(int16_t hour, int16_t minute);
  void Digital(int16_t hour, int16_t minute, int32_t dateSerial);
  Context& ctx_;
  Surface& panel_;
  const Surface& bd_;
  DateLine dateLine_;
};

}  // namespace zk
