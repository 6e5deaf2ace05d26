#include "display/Readouts.h"

#include <cmath>

#include "core/DialTypes.h"
#include "core/Numbers.h"
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
  // Both prints start where "0.00" would be centred, so the left edge never moves.
  panel_.CurrentX = x - panel_.TextWidth("0.00") / 2;
  panel_.CurrentY = 1150;
  panel_.Print("        ");
  panel_.CurrentX = x - panel_.TextWidth("0.00") / 2;
  panel_.CurrentY = 1150;
  panel_.Print(text);
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
    default:
      break;
  }
  panel_.PSet(x, y, color);
  ctx_.state.LedColor = color;
}

}  // namespace zk
