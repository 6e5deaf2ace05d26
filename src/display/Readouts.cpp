#include "display/Readouts.h"

#include <cmath>

#include "base/DialTypes.h"
#include "base/Numbers.h"
#include "display/Dial.h"

namespace zk {

Readouts::Readouts(Context& ctx, Surface& panel, Surface& bd) : ctx_(ctx), panel_(panel), bd_(bd) {
  // The BD counter is laid out in points, so its height doubles as a font size.
  bd_.SetScaleMode(Surface::ScaleMode::Point);
}

void Readouts::Update_BaseDisplay(const std::string& text) {
  const Settings& s = ctx_.settings;
  const double x = s.ClockLeft ? 750 : -750;
  panel_.ForeColor = s.Text_Color;
  panel_.SetFontSize(panel_.WidthPx() * 0.06);
  panel_.SetFontName("Aerial");
  panel_.SetFontBold(true);
  // Every text starts where "0.00" would be centred, so the left edge never moves. The
  // wipe covers the box of the text shown before and no more: a row of blanks in a font
  // with wide spaces would reach into the face beside the readout.
  panel_.CurrentX = x - panel_.TextWidth("0.00") / 2;
  panel_.CurrentY = 1150;
  if (!shownBase_.empty()) panel_.WipeText(shownBase_);
  panel_.Print(text);
  shownBase_ = text;
}

void Readouts::Update_BdDisplay(const std::string& text) {
  const Settings& s = ctx_.settings;
  bd_.ForeColor = ctx_.state.BdCountEnabled ? s.Text_Color : ctx_.state.DimTextColor;
  bd_.SetFontSize(bd_.ScaleHeight() - 3);
  bd_.SetFontName("Aerial");
  bd_.SetFontItalic(false);
  bd_.SetFontBold(false);
  bd_.CurrentX = 2;
  bd_.CurrentY = 1.5;
  bd_.Print("         ");
  bd_.CurrentX = 2;
  bd_.CurrentY = 1.5;
  bd_.Print(text);
}

void Readouts::Update_LED(int32_t color) {
  double x = 0, y = 0;
  switch (ctx_.settings.DialType) {
    case DialTraditional:
    case DialContinuous:
      // Over the SET mark, just outside the scale.
      x = -std::sin(DialGeometry::SetOffset) * 1070;
      y = std::cos(DialGeometry::SetOffset) * 1070;
      panel_.DrawWidth = CInt16(panel_.WidthPx() / 60.0);
      break;
    case DialCircular1:
    case DialCircular2:
      x = 0;
      y = DialGeometry::CircularCentreY;
      panel_.DrawWidth = CInt16(panel_.WidthPx() / 50.0);
      break;
    default: break;
  }
  // Whole pixels, as the needle strokes are: the dot going out gives exactly the pixels
  // the lit dot covered back to the face (the SET tick beneath it included), so no ring
  // or notch is left.
  const QPointF at = panel_.DevicePoint(x, y);
  const StrokeSpans dot(at, at, panel_.DeviceLength(panel_.DrawWidth), panel_.DeviceRect());
  if (color == ctx_.settings.Dial_Color)
    panel_.RestoreFace(dot, color);
  else
    panel_.PaintRuns(dot, color);
  panel_.CurrentX = x;
  panel_.CurrentY = y;
  ctx_.state.LedColor = color;
}

}  // namespace zk
