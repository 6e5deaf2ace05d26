#include "display/NeedleDrawer.h"

#include <cmath>
#include <cstdlib>

#include "core/DialTypes.h"
#include "core/Numbers.h"
#include "display/Dial.h"

namespace zk {

using namespace DialGeometry;

namespace {
// The shadow of the continuous dial sits 77 degrees back from the needle.
constexpr int64_t ShadowOffset = 14016;
constexpr int64_t ShadowOn = 6000;
constexpr int64_t ShadowOff = 4000;

double Angle(int64_t p) { return static_cast<double>(p) * TwoPi / 65536; }

// The stroke from radius r1 to radius r2 at angle a (clockwise from 12 o'clock), relative
// to the pivot.
void Place(float& x1, float& y1, float& x2, float& y2, double a, double r1, double r2) {
  x1 = static_cast<float>(std::sin(a) * r1);
  y1 = static_cast<float>(std::cos(a) * r1);
  x2 = static_cast<float>(std::sin(a) * r2);
  y2 = static_cast<float>(std::cos(a) * r2);
}
}  // namespace

NeedleDrawer::NeedleDrawer(Context& ctx, Surface& panel) : ctx_(ctx), panel_(panel) {}

void NeedleDrawer::Stroke(float x1, float y1, float x2, float y2, int32_t color) {
  // Aliased, so drawing the same stroke in the dial colour removes it pixel for pixel.
  const bool aa = panel_.Antialiased;
  panel_.Antialiased = false;
  panel_.Line(x1, y1, x2, y2, color);
  panel_.Antialiased = aa;
}

void NeedleDrawer::Draw(int32_t p) {
  const Settings& s = ctx_.settings;
  SessionState& st = ctx_.state;
  const int32_t color = st.NeedleFrozen ? s.FreezeNeedle_Color : s.MainNeedle_Color;
  const int32_t dial = s.Dial_Color;
  NeedleStrokes& n = strokes_;
  const double theta = Angle(p);

  switch (s.DialType) {
    case DialCircular1:
    case DialCircular2: {
      if (s.Needle_Width < 1) return;
      const float cy = static_cast<float>(CircularCentreY);
      const bool mirror = s.DialType == DialCircular2;
      panel_.DrawWidth = s.Needle_Width;
      if (!st.ResetPending) {
        Stroke(n.NeedleX1, n.NeedleY1 + cy, n.NeedleX2, n.NeedleY2 + cy, dial);
        if (mirror) Stroke(-n.NeedleX1, cy - n.NeedleY1, -n.NeedleX2, cy - n.NeedleY2, dial);
      }
      Place(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, theta, 50, 500);
      Stroke(n.NeedleX1, n.NeedleY1 + cy, n.NeedleX2, n.NeedleY2 + cy, color);
      if (mirror) Stroke(-n.NeedleX1, cy - n.NeedleY1, -n.NeedleX2, cy - n.NeedleY2, color);
      break;
    }
    case DialTraditional:
    case DialContinuous: {
      if (s.Needle_Width < 1) return;
      const bool continuous = s.DialType == DialContinuous;
      panel_.DrawWidth = s.Needle_Width;
      if (!st.ResetPending) {
        Stroke(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, dial);
        if (continuous && n.ShadowVisible) Stroke(n.ShadowX1, n.ShadowY1, n.ShadowX2, n.ShadowY2, dial);
      }
      Place(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, theta, 500, 1000);
      Stroke(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, color);
      if (!continuous) break;
      // Hysteresis: the shadow appears beyond 6000 and goes below 4000.
      const int64_t mag = std::llabs(static_cast<int64_t>(p));
      if (mag > ShadowOn) n.ShadowVisible = -1;
      if (mag < ShadowOff) n.ShadowVisible = 0;
      const int64_t q = CInt32(p > 0 ? int64_t{p} - ShadowOffset : p < 0 ? int64_t{p} + ShadowOffset : 0);
      if (n.ShadowVisible) {
        Place(n.ShadowX1, n.ShadowY1, n.ShadowX2, n.ShadowY2, Angle(q), 500, 1000);
        Stroke(n.ShadowX1, n.ShadowY1, n.ShadowX2, n.ShadowY2, st.ShadowNeedleColor);
      }
      break;
    }
    default:
      break;
  }
}

void NeedleDrawer::Solid_Pen(int32_t color) {
  panel_.DrawWidth = 1;
  panel_.ForeColor = color;
  panel_.FillColor = color;
  panel_.FillStyle = Surface::FillSolid;
}

void NeedleDrawer::Remove_Needle() {
  const Settings& s = ctx_.settings;
  switch (s.DialType) {
    case DialCircular1:
    case DialCircular2:
      Solid_Pen(s.Dial_Color);
      panel_.Circle(0, CircularCentreY, 505, s.Dial_Color);
      panel_.DrawWidth = 3;
      panel_.FillStyle = Surface::FillTransparent;
      panel_.Circle(0, CircularCentreY, 35, s.Scale_Color);
      break;
    case DialTraditional:
    case DialContinuous:
      Solid_Pen(s.Dial_Color);
      panel_.Circle(0, 0, 1000, s.Dial_Color, -(HalfPi - Sweep / 1.8), -(Sweep / 1.8 + HalfPi));
      Solid_Pen(s.Panel_Color);
      panel_.Circle(0, 0, 465, s.Panel_Color, -(HalfPi - Sweep / 1.7), -(Sweep / 1.7 + HalfPi));
      break;
    default:
      break;
  }
}

}  // namespace zk
