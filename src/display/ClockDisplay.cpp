#include "display/ClockDisplay.h"

#include <cmath>

#include "base/Clock.h"
#include "base/DialTypes.h"
#include "base/Numbers.h"
#include "display/Dial.h"
#include "meter/MeterEngine.h"

namespace zk {

namespace {
constexpr double Radius = 150;
constexpr int DotWidth = 4;        // the hour dots' diameter in pixels
constexpr int32_t NoDate = 36525;  // 31/12/1999: recordings without a date carry it
}  // namespace

ClockDisplay::ClockDisplay(Context& ctx, Surface& panel, const Surface& bd) : ctx_(ctx), panel_(panel), bd_(bd) {}

void ClockDisplay::Update_Clock(int16_t& hour, int16_t& minute, int16_t&, int32_t dateSerial) {
  switch (ctx_.settings.ClockType) {
    case 1: Analog(hour, minute); break;
    case 2:
      if (hour > 12) hour = static_cast<int16_t>(hour - 12);
      if (hour == 0) hour = 12;
      Digital(hour, minute, dateSerial);
      break;
    case 3: Digital(hour, minute, dateSerial); break;
    default: break;  // "None": nothing drawn, nothing wiped
  }
}

void ClockDisplay::Analog(int16_t hour, int16_t minute) {
  const Settings& s = ctx_.settings;
  double cx, cy;
  const double side = s.ClockLeft ? -1 : 1;
  if (Arc_Dial(s.DialType)) {
    cx = 825 * side;
    cy = 1025;
  } else if (Round_Dial(s.DialType)) {
    cx = 750 * side;
    cy = 1000;
  } else {
    return;
  }
  // The hour dots sit on the rim, half outside the clock's circle: the wipe reaches past
  // them (the dot's radius and its soft edge), so each minute draws them on a clean ground
  // instead of darkening them once more.
  panel_.FillColor = s.Panel_Color;
  panel_.FillStyle = Surface::FillSolid;
  panel_.DrawWidth = 1;
  const double dotReach = (DotWidth / 2.0 + 2) * panel_.ScaleWidth() / panel_.WidthPx();
  panel_.Circle(cx, cy, Radius + dotReach, s.Panel_Color);

  panel_.ForeColor = s.Text_Color;
  panel_.DrawWidth = DotWidth;
  const float step = static_cast<float>(DialGeometry::Pi / 6);
  for (float a = 0; a <= static_cast<float>(6.28318); a += step)
    panel_.PSet(std::sin(a) * Radius + cx, std::cos(a) * Radius + cy);

  panel_.DrawWidth = 1;
  panel_.FillStyle = Surface::FillSolid;
  panel_.FillColor = s.Text_Color;
  // Each hand is a thin filled wedge whose apex is the hand's tip and which reaches back
  // across the centre.
  const double t = minute / 60.0 + hour % 12;
  const double h = DialGeometry::HalfPi - (t / 6) * DialGeometry::Pi;
  const double hx = std::cos(h) * Radius * 0.7 + cx, hy = std::sin(h) * Radius * 0.7 + cy;
  panel_.Circle(hx, hy, 112, s.Text_Color, -MeterEngine::CAng(static_cast<float>(h + DialGeometry::Pi - 0.08)),
                -MeterEngine::CAng(static_cast<float>(h + DialGeometry::Pi + 0.08)));
  const double m = DialGeometry::HalfPi - (minute / 30.0) * DialGeometry::Pi;
  const double mx = std::cos(m) * Radius * 0.95 + cx, my = std::sin(m) * Radius * 0.95 + cy;
  panel_.Circle(mx, my, 152, s.Text_Color, -MeterEngine::CAng(static_cast<float>(m + DialGeometry::Pi - 0.04)),
                -MeterEngine::CAng(static_cast<float>(m + DialGeometry::Pi + 0.04)));
}

void ClockDisplay::Digital(int16_t hour, int16_t minute, int32_t dateSerial) {
  const Settings& s = ctx_.settings;
  const std::string text = Format_00(hour) + ":" + Format_00(minute);
  const double x = s.ClockLeft ? -800 : 800;
  const double size = bd_.ScaleHeight() - 3;  // the BD counter's size
  panel_.ForeColor = s.Text_Color;
  panel_.SetFontSize(size);
  panel_.SetFontName("Aerial");
  panel_.SetFontBold(false);
  panel_.CurrentX = x - panel_.TextWidth(text) / 2;
  panel_.CurrentY = 1085;
  panel_.Print(text);

  if (s.DateType == 0 || dateSerial == NoDate) return;
  dateLine_.Print(panel_, dateSerial, s.DateType == 2, size / 2, x, 1085);
}

std::string ClockDisplay::Date_Text(int32_t dateSerial, bool longFormat) {
  return DateLine::Forms(dateSerial, longFormat).front();
}

}  // namespace zk
