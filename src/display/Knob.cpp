#include "display/Knob.h"

#include <cmath>

#include "base/Numbers.h"
#include "meter/MeterEngine.h"

namespace zk {

namespace {
constexpr double RingStart = 5.4977827;   // 315 degrees
constexpr double RingEnd = 3.9269874;     // 225 degrees: step 0
constexpr double TickFirst = -0.7853975;  // -45 degrees: step 63
constexpr double Travel = 4.712385;       // 270 degrees over 63 intervals
constexpr double WedgeHalf = 2.74889125;  // 157.5 degrees: a 45-degree wedge pointing inward
}  // namespace

Knob::Knob(Context& ctx, Surface& knob, const Surface& panel, const SensitivityTable& table)
    : ctx_(ctx), knob_(knob), panel_(panel), table_(table) {}

void Knob::Update_SensKnob() {
  const Settings& s = ctx_.settings;
  knob_.Cls();
  knob_.Scale(-1.1, 1.1, 2.2, -2.2);
  knob_.SetBackColor(s.Panel_Color);
  knob_.ForeColor = s.Text_Color;
  knob_.FillColor = s.Text_Color;
  knob_.FillStyle = Surface::FillSolid;
  knob_.DrawWidth = 2;

  knob_.Circle(0, 0, 0.9, knob_.ForeColor, RingStart, RingEnd);
  knob_.Circle(0, 0, 0.4, knob_.ForeColor);
  const float step = static_cast<float>((RingEnd - TickFirst) / 9);
  for (float a = static_cast<float>(TickFirst); a <= static_cast<float>(RingEnd); a += step)
    knob_.Line(std::cos(a) * 0.9, std::sin(a) * 0.9, std::cos(a) * 0.7, std::sin(a) * 0.7);

  const int16_t turns = CInt16(63 - static_cast<int32_t>(s.SensitivityIndex));
  const double b = turns * (Travel / 63) - 0.7853975;
  const double px = std::cos(b) * 0.65, py = std::sin(b) * 0.65;
  knob_.PSet(px, py);
  knob_.Circle(px, py, 0.3, knob_.ForeColor, -MeterEngine::CAng(static_cast<float>(b + WedgeHalf)),
               -MeterEngine::CAng(static_cast<float>(b - WedgeHalf)));

  knob_.SetFontSize(panel_.HeightPx() / 26.0);
  knob_.SetFontName("Aerial");
  const std::string& text = table_.Text(s.SensitivityIndex);
  knob_.CurrentX = -knob_.TextWidth(text) / 2;
  knob_.CurrentY = -0.5;
  knob_.ForeColor = s.Text_Color;
  knob_.Print(text);
}

int16_t Knob::StepAt(float x, float y) {
  const double c = std::atan(static_cast<double>(y) / x);
  float a;
  if (x < 0)
    a = static_cast<float>(c + 3.14159);
  else if (y < 0)
    a = static_cast<float>(c + 6.28318);
  else
    a = static_cast<float>(c);
  // Clockwise distance from the step-0 direction, held in single precision: the steps on
  // the axes (10 on the left, 52 on the right) depend on it.
  float d = static_cast<float>(3.9269875 - a);
  if (d < 0) d = static_cast<float>(d + 6.28318);
  if (d <= static_cast<float>(Travel)) return CInt16(static_cast<double>(d) * 63 / Travel);
  return x < 0 ? 0 : 63;  // the gap at the bottom: the nearer end
}

void Knob::picKnob_MouseDown(int button, int, float x, float y) {
  const SessionState& st = ctx_.state;
  if (st.OperatingMode == ModePlayback && !st.PlaybackOverride) return;
  if (button != 1) return;
  if (x == 0) return;
  ctx_.settings.SensitivityIndex = StepAt(x, y);
  Update_SensKnob();
}

}  // namespace zk
