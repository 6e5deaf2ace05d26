#include "display/Dial.h"

#include <cmath>

#include "base/DialTypes.h"

namespace zk {

using namespace DialGeometry;

namespace {
// Tick loops run over the scale from its right end to its left end; the 0.01 rad allowance
// makes the 145-degree tick certain despite the single-precision steps.
constexpr float TickStart = static_cast<float>(HalfPi - HalfSweep);
constexpr float TickEnd = static_cast<float>(HalfSweep + HalfPi + 0.01);
}  // namespace

Dial::Dial(Context& ctx, Surface& panel) : ctx_(ctx), panel_(panel) {}

void Dial::Draw_Face() {
  const Settings& s = ctx_.settings;
  switch (s.DialType) {
    case DialTraditional:
    case DialContinuous:
      if (s.ScaleType == 1) {
        Traditional_Face(2);
        Traditional_Simple_Scale();
      } else if (s.ScaleType == 0) {
        Traditional_Face(1);
        Traditional_Traditional_Scale();
      }
      break;
    case DialCircular1:
    case DialCircular2:
      if (s.ScaleType == 0 || s.ScaleType == 1) Circular_Face();
      break;
    default: break;
  }
}

void Dial::Traditional_Face(int penWidth) {
  const Settings& s = ctx_.settings;
  panel_.DrawWidth = penWidth;
  panel_.ForeColor = s.Panel_Color;
  panel_.FillColor = s.Dial_Color;
  panel_.FillStyle = Surface::FillSolid;
  panel_.Circle(0, 0, 1110, s.Panel_Color, -(HalfPi - FaceHalfWidth), -(HalfPi + FaceHalfWidth));
  // The disc in the panel colour hollows the sector into a band.
  panel_.ForeColor = s.Panel_Color;
  panel_.FillColor = s.Panel_Color;
  panel_.Circle(0, 0, 465, s.Panel_Color);
}

void Dial::Traditional_Simple_Scale() {
  const int32_t c = ctx_.settings.Scale_Color;
  panel_.DrawWidth = 2;
  panel_.Circle(0, 0, 1020, c, HalfPi + HalfSweep, HalfPi + HalfSweep * 1.05);
  panel_.Circle(0, 0, 1020, c, HalfPi - HalfSweep * 1.05, HalfPi - HalfSweep);
  panel_.Circle(0, 0, 1020, c, HalfPi + HalfSweep * 15 / 64, HalfPi + HalfSweep * 17 / 64);
  const float step = static_cast<float>(Sweep / 8);
  for (float a = TickStart; a <= TickEnd; a += step)
    panel_.Line(std::cos(a) * 1020, std::sin(a) * 1020, std::cos(a) * 1050, std::sin(a) * 1050, c);
}

void Dial::Traditional_Traditional_Scale() {
  const int32_t c = ctx_.settings.Scale_Color;
  panel_.DrawWidth = 2;
  // Two bands, each an inner and an outer arc; the gap between them holds the SET mark.
  for (double r : {1020.0, 1070.0}) {
    panel_.Circle(0, 0, r, c, HalfPi - HalfSweep, HalfPi + Sweep / 10);
    panel_.Circle(0, 0, r, c, HalfPi + 5.7595816 / 20, HalfPi + HalfSweep);
  }
  const float step = static_cast<float>(Sweep / 40);
  int ticks = 0;
  for (float a = TickStart; a <= TickEnd; a += step) {
    const double outer = ticks % 2 == 1 ? 1040 : 1070;
    panel_.Line(std::cos(a) * 1020, std::sin(a) * 1020, std::cos(a) * outer, std::sin(a) * outer, c);
    ++ticks;
  }
}

void Dial::Circular_Face() {
  const Settings& s = ctx_.settings;
  const double cy = CircularCentreY;
  panel_.DrawWidth = 1;
  panel_.ForeColor = s.Dial_Color;
  panel_.FillColor = s.Dial_Color;
  panel_.FillStyle = Surface::FillSolid;
  panel_.Circle(0, cy, 575, s.Dial_Color);
  panel_.ForeColor = s.Scale_Color;
  panel_.FillColor = s.Scale_Color;
  panel_.DrawWidth = 3;
  panel_.FillStyle = Surface::FillTransparent;
  panel_.Circle(0, cy, 35, s.Scale_Color);
  panel_.DrawWidth = 2;
  // Angles here run clockwise from 12 o'clock. The single-precision loop accumulates its
  // step, so the simple scale's last pass falls on the first tick again.
  const float end = static_cast<float>(TwoPi);
  if (s.ScaleType == 1) {
    const float step = static_cast<float>(TwoPi / 16);
    for (float a = 0; a <= end; a += step)
      panel_.Line(std::sin(a) * 535, std::cos(a) * 535 + cy, std::sin(a) * 560, std::cos(a) * 560 + cy);
  } else {
    panel_.Circle(0, cy, 550, s.Scale_Color);
    const float step = static_cast<float>(TwoPi / 40);
    for (float a = 0; a <= end; a += step)
      panel_.Line(std::sin(a) * 550, std::cos(a) * 550 + cy, std::sin(a) * 575, std::cos(a) * 575 + cy);
  }
}

}  // namespace zk
