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

NeedleDrawer::Drawn NeedleDrawer::Stroke(float x1, float y1, float x2, float y2, int32_t color) {
  Drawn d;
  d.line = QLineF(x1, y1, x2, y2);
  if (panel_.DrawWidth <= 1) {
    // A one-pixel needle is a plain aliased line; drawn again in the dial colour it goes.
    const bool aa = panel_.Antialiased;
    panel_.Antialiased = false;
    panel_.Line(x1, y1, x2, y2, color);
    panel_.Antialiased = aa;
    d.thin = true;
    return d;
  }
  d.runs = StrokeSpans(QPointF(panel_.PxX(x1), panel_.PxY(y1)), QPointF(panel_.PxX(x2), panel_.PxY(y2)),
                       panel_.DrawWidth, QRect(0, 0, panel_.WidthPx(), panel_.HeightPx()));
  panel_.PaintRuns(d.runs, color);
  panel_.CurrentX = x2;
  panel_.CurrentY = y2;
  return d;
}

void NeedleDrawer::Erase_Or_Forget() {
  // A fresh face has no needle on it: the strokes drawn last are forgotten, not erased.
  const bool erase = !ctx_.state.ResetPending;
  const int32_t dial = ctx_.settings.Dial_Color;
  for (Drawn& d : drawn_) {
    if (erase && d.thin) {
      const int width = panel_.DrawWidth;
      panel_.DrawWidth = 1;
      Stroke(static_cast<float>(d.line.x1()), static_cast<float>(d.line.y1()), static_cast<float>(d.line.x2()),
             static_cast<float>(d.line.y2()), dial);
      panel_.DrawWidth = width;
    } else if (erase) {
      panel_.PaintRuns(d.runs, dial, hub_.isNull() ? nullptr : &hub_, hubAt_);
    }
    d = Drawn();
  }
}

void NeedleDrawer::Keep_Hub() {
  // The ring (radius 35, a 3-pixel pen) and its soft edge.
  const double r = panel_.PxLenX(35) + 3;
  const QPointF c(panel_.PxX(0), panel_.PxY(CircularCentreY));
  const QRect box = QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r).toAlignedRect();
  hub_ = panel_.Copy(box);
  hubAt_ = box.intersected(QRect(0, 0, panel_.WidthPx(), panel_.HeightPx())).topLeft();
}

void NeedleDrawer::Draw(int32_t p) {
  const Settings& s = ctx_.settings;
  SessionState& st = ctx_.state;
  const int32_t color = st.NeedleFrozen ? s.FreezeNeedle_Color : s.MainNeedle_Color;
  NeedleStrokes& n = strokes_;
  const double theta = Angle(p);

  switch (s.DialType) {
    case DialCircular1:
    case DialCircular2: {
      if (s.Needle_Width < 1) return;
      const float cy = static_cast<float>(CircularCentreY);
      const bool mirror = s.DialType == DialCircular2;
      panel_.DrawWidth = s.Needle_Width;
      if (st.ResetPending) Keep_Hub();
      Erase_Or_Forget();
      Place(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, theta, 50, 500);
      drawn_[0] = Stroke(n.NeedleX1, n.NeedleY1 + cy, n.NeedleX2, n.NeedleY2 + cy, color);
      if (mirror) drawn_[1] = Stroke(-n.NeedleX1, cy - n.NeedleY1, -n.NeedleX2, cy - n.NeedleY2, color);
      break;
    }
    case DialTraditional:
    case DialContinuous: {
      if (s.Needle_Width < 1) return;
      const bool continuous = s.DialType == DialContinuous;
      panel_.DrawWidth = s.Needle_Width;
      hub_ = QImage();
      Erase_Or_Forget();
      Place(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, theta, 500, 1000);
      drawn_[0] = Stroke(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, color);
      if (!continuous) break;
      // Hysteresis: the shadow appears beyond 6000 and goes below 4000.
      const int64_t mag = std::llabs(static_cast<int64_t>(p));
      if (mag > ShadowOn) n.ShadowVisible = -1;
      if (mag < ShadowOff) n.ShadowVisible = 0;
      const int64_t q = CInt32(p > 0 ? int64_t{p} - ShadowOffset : p < 0 ? int64_t{p} + ShadowOffset : 0);
      if (n.ShadowVisible) {
        Place(n.ShadowX1, n.ShadowY1, n.ShadowX2, n.ShadowY2, Angle(q), 500, 1000);
        drawn_[1] = Stroke(n.ShadowX1, n.ShadowY1, n.ShadowX2, n.ShadowY2, st.ShadowNeedleColor);
      }
      break;
    }
    default: break;
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
    default: break;
  }
}

}  // namespace zk
