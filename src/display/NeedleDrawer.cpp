#include "display/NeedleDrawer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/DialTypes.h"
#include "base/Numbers.h"
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

bool NeedleDrawer::Clear_Of_Detail(double r1, double r2, double theta) const {
  // Room for the antialiased edge of the face's lines and for a panel not quite 1.6 : 1.
  constexpr double Margin = 3;
  const double half = std::max(1, panel_.DrawWidth) / 2.0;
  const double inner = panel_.PxLenX(r1) - half - Margin, outer = panel_.PxLenX(r2) + half + Margin;
  if (Round_Dial(ctx_.settings.DialType)) {
    // Between the hub ring (3 pixels wide; the lamp on the hub is smaller) and the ticks.
    return inner >= panel_.PxLenX(35) + 1.5 && outer <= panel_.PxLenX(535) - 1;
  }
  // Inside the band between the hollow and the inner scale arc, and off the face's
  // straight edges: the stroke's inner end is where it comes closest to them.
  const double off = FaceHalfWidth - std::abs(std::remainder(theta, TwoPi));
  return inner >= panel_.PxLenX(465) && outer <= panel_.PxLenX(1020) - 1 && off > 0 &&
         panel_.PxLenX(r1) * std::sin(std::min(off, HalfPi)) >= half + Margin;
}

NeedleDrawer::Drawn NeedleDrawer::Plan(float x1, float y1, float x2, float y2, int32_t color, bool plain) const {
  Drawn d;
  d.line = QLineF(x1, y1, x2, y2);
  d.color = color;
  d.plain = plain;
  // A one-pixel needle is a plain aliased line; drawn again in the dial colour it goes.
  d.thin = panel_.DrawWidth <= 1;
  if (d.thin) return d;
  d.px = QLineF(panel_.DevicePoint(x1, y1), panel_.DevicePoint(x2, y2));
  d.pen = panel_.DeviceLength(panel_.DrawWidth);
  d.runs = StrokeSpans(d.px.p1(), d.px.p2(), d.pen, panel_.DeviceRect());
  return d;
}

void NeedleDrawer::Paint(const Drawn& d, Surface::Tell tell) {
  const QLineF& l = d.line;
  if (d.thin) {
    const bool aa = panel_.Antialiased;
    panel_.Antialiased = false;
    panel_.Line(static_cast<float>(l.x1()), static_cast<float>(l.y1()), static_cast<float>(l.x2()),
                static_cast<float>(l.y2()), d.color);
    panel_.Antialiased = aa;
    return;
  }
  panel_.PaintRuns(d.runs, d.color, tell);
  Pen_To(d);
}

void NeedleDrawer::Pen_To(const Drawn& d) {
  panel_.CurrentX = static_cast<float>(d.line.x2());
  panel_.CurrentY = static_cast<float>(d.line.y2());
}

void NeedleDrawer::Erase(const Drawn& d, const StrokeSpans& runs, Surface::Tell tell) {
  const int32_t dial = ctx_.settings.Dial_Color;
  if (d.plain)
    panel_.PaintRuns(runs, dial, tell);
  else
    panel_.RestoreFace(runs, dial, tell);
}

bool NeedleDrawer::Moves_In_Place(const Drawn (&next)[2], const QRect& over) const {
  QRect reach[2];
  for (int i = 0; i < 2; ++i) {
    const Drawn &now = next[i], &before = drawn_[i];
    if (now.thin || before.thin) return false;
    if (!now.None() && !before.None()) {
      if (now.color != before.color) return false;
      const double shift =
          std::max(QLineF(now.px.p1(), before.px.p1()).length(), QLineF(now.px.p2(), before.px.p2()).length());
      if (shift > now.pen / 2) return false;
    }
    if (over.intersects(before.runs.Bounds())) return false;
    reach[i] = before.runs.Bounds().united(now.runs.Bounds());
  }
  return !reach[0].intersects(reach[1]);
}

void NeedleDrawer::Move_In_Place(const Drawn (&next)[2]) {
  // The strokes lie apart (Moves_In_Place), so each can be erased and painted in turn.
  // The window hears of a stroke's erased and painted pixels together: announced apart,
  // the rectangles about the two edges of a stroke would overlap and be cut up into many
  // more where they meet.
  for (int i = 0; i < 2; ++i) {
    StrokeSpans::Difference(drawn_[i].runs, next[i].runs, gone_, come_);
    Erase(drawn_[i], gone_, Surface::Tell::Later);
    if (!next[i].None()) {
      panel_.PaintRuns(come_, next[i].color, Surface::Tell::Later);
      Pen_To(next[i]);
    }
    StrokeSpans::Merge(gone_, come_, changed_);
    panel_.Announce(changed_);
  }
}

void NeedleDrawer::Replace(Drawn (&next)[2]) {
  // Whatever else drew on the face since the needle was drawn (a wipe, a banner, a readout)
  // may lie over its strokes: then it is drawn again even where it stands still.
  const QRect over = panel_.TakeDrawn();
  auto shown = [&](const Drawn& now, const Drawn& before) {
    if (now.None()) return before.None();
    return now.Same_Pixels(before) && !over.intersects(before.runs.Bounds());
  };
  if (!ctx_.state.ResetPending && shown(next[0], drawn_[0]) && shown(next[1], drawn_[1])) {
    // The face keeps its pixels; the pen ends where the drawing would have left it.
    Pen_To(next[1].None() ? next[0] : next[1]);
    return;
  }
  if (!ctx_.state.ResetPending && Moves_In_Place(next, over)) {
    Move_In_Place(next);
  } else {
    Redraw(next);
  }
  for (int i = 0; i < 2; ++i) drawn_[i] = std::move(next[i]);
  panel_.TakeDrawn();  // the needle's own pixels
}

void NeedleDrawer::Erase_Stroke(const Drawn& d, Surface::Tell tell) {
  if (!d.thin) {
    Erase(d, d.runs, tell);
    return;
  }
  Drawn wipe = d;
  wipe.color = ctx_.settings.Dial_Color;
  const int width = panel_.DrawWidth;
  panel_.DrawWidth = 1;
  Paint(wipe);
  panel_.DrawWidth = width;
}

void NeedleDrawer::Erase_Or_Forget() {
  // A fresh face has no needle on it: the strokes drawn last are forgotten, not erased.
  for (Drawn& d : drawn_) {
    if (!ctx_.state.ResetPending) Erase_Stroke(d);
    d = Drawn();
  }
}

void NeedleDrawer::Redraw(const Drawn (&next)[2]) {
  // On a fresh face there is nothing of the old strokes to erase or to show again.
  const bool erase = !ctx_.state.ResetPending;
  if (erase)
    for (const Drawn& d : drawn_) Erase_Stroke(d, Surface::Tell::Later);
  for (const Drawn& d : next)
    if (!d.None()) Paint(d, Surface::Tell::Later);
  for (int i = 0; i < 2; ++i) {
    StrokeSpans::Merge(erase ? drawn_[i].runs : StrokeSpans(), next[i].runs, changed_);
    panel_.Announce(changed_);
  }
}

bool NeedleDrawer::Restore_Arc_Zone() {
  if (!panel_.Face()) return false;
  // Out to the needle's round tip, short of the lamp over the SET mark; as wide as the
  // panel-coloured sector the face is hollowed with.
  const double reach = panel_.PxLenX(1000) + std::max<int>(1, ctx_.settings.Needle_Width) / 2.0 + 1;
  panel_.RestoreFace(
      StrokeSpans::Fan(panel_.DevicePoint(0, 0), panel_.DeviceLength(reach), Sweep / 1.7, panel_.DeviceRect()),
      ctx_.settings.Dial_Color);
  return true;
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
      Place(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, theta, 50, 500);
      Drawn next[2];
      // The mirror end runs over the same radii: plain where the needle is.
      const bool plain = Clear_Of_Detail(50, 500, theta);
      next[0] = Plan(n.NeedleX1, n.NeedleY1 + cy, n.NeedleX2, n.NeedleY2 + cy, color, plain);
      if (mirror) next[1] = Plan(-n.NeedleX1, cy - n.NeedleY1, -n.NeedleX2, cy - n.NeedleY2, color, plain);
      Replace(next);
      break;
    }
    case DialTraditional:
    case DialContinuous: {
      if (s.Needle_Width < 1) return;
      const bool continuous = s.DialType == DialContinuous;
      panel_.DrawWidth = s.Needle_Width;
      Place(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, theta, 500, 1000);
      Drawn next[2];
      next[0] = Plan(n.NeedleX1, n.NeedleY1, n.NeedleX2, n.NeedleY2, color, Clear_Of_Detail(500, 1000, theta));
      if (continuous) {
        // Hysteresis: the shadow appears beyond 6000 and goes below 4000.
        const int64_t mag = std::llabs(static_cast<int64_t>(p));
        if (mag > ShadowOn) n.ShadowVisible = -1;
        if (mag < ShadowOff) n.ShadowVisible = 0;
        const int64_t q = CInt32(p > 0 ? int64_t{p} - ShadowOffset : p < 0 ? int64_t{p} + ShadowOffset : 0);
        if (n.ShadowVisible) {
          const double phi = Angle(q);
          Place(n.ShadowX1, n.ShadowY1, n.ShadowX2, n.ShadowY2, phi, 500, 1000);
          next[1] = Plan(n.ShadowX1, n.ShadowY1, n.ShadowX2, n.ShadowY2, st.ShadowNeedleColor,
                         Clear_Of_Detail(500, 1000, phi));
        }
      }
      Replace(next);
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
  // The strokes go first, exactly: a wide needle's round tip reaches past the zone wiped below.
  Erase_Or_Forget();
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
      // The face as the dial drew it: a wipe with sectors would repaint the face's edges.
      if (Restore_Arc_Zone()) break;
      Solid_Pen(s.Dial_Color);
      panel_.Circle(0, 0, 1000, s.Dial_Color, -(HalfPi - Sweep / 1.8), -(Sweep / 1.8 + HalfPi));
      Solid_Pen(s.Panel_Color);
      panel_.Circle(0, 0, 465, s.Panel_Color, -(HalfPi - Sweep / 1.7), -(Sweep / 1.7 + HalfPi));
      break;
    default: break;
  }
}

}  // namespace zk
