#include "plot/PlotLayout.h"

#include <algorithm>
#include <cmath>

namespace zk::plot {

int Lane::Y(double v) const {
  const double f = std::clamp((v - lo) / (hi - lo), 0.0, 1.0);
  return rect.bottom() - static_cast<int>(std::lround(f * (rect.height() - 1)));
}

void PlotLayout::FitRawLane(int32_t rawMin, int32_t rawMax) {
  // A flat reading sits in the middle.
  const double margin = std::max(1.0, (rawMax - rawMin) * 0.05);
  raw.lo = rawMin - margin;
  raw.hi = rawMax + margin;
}

PlotLayout LayoutPlot(int width, int height) {
  PlotLayout L;
  L.width = width;
  L.height = height;
  L.fontPx = std::clamp(height / 64, 9, 14);
  const int line = L.fontPx + 4;
  const int gap = std::max(3, L.fontPx / 2);

  L.title = QRect(gap, 2, width - 2 * gap, line + 4);
  L.tagRowTop = L.title.bottom() + 1;
  L.left = L.fontPx * 6;
  L.columns = std::max(1, width - L.left - gap * 2);
  const int axisHeight = 2 * line + gap;
  const int top = L.tagRowTop + line;
  const int bottom = height - axisHeight;  // one below the raw lane

  // Shares of the lanes' height; what rounding leaves over goes to the raw lane.
  const int avail = std::max(40, bottom - top - 3 * gap);
  const int needleH = avail * 32 / 100, baseH = avail * 24 / 100, sensH = avail * 14 / 100;
  const int bandH = std::clamp(avail * 3 / 100, 6, 24) / 3 * 3;
  const int rawH = std::max(4, avail - needleH - baseH - sensH - bandH - 1);

  int y = top;
  auto place = [&](int h) {
    QRect r(L.left, y, L.columns, h);
    y += h;
    return r;
  };
  L.needle.rect = place(needleH);
  y += gap;
  L.base.rect = place(baseH);
  y += gap;
  L.sensitivity.rect = place(sensH);
  y += 1;  // the frames of the two touch
  L.lampBand = place(bandH);
  y += gap;
  L.raw.rect = place(rawH);
  L.axisTop = y;

  L.needle.lo = -NeedleLaneEnd;
  L.needle.hi = NeedleLaneEnd;
  L.base.lo = 0.5;
  L.base.hi = 6.5;
  L.sensitivity.lo = 0;
  L.sensitivity.hi = 63;
  L.FitRawLane(0, 65535);
  return L;
}

}  // namespace zk::plot
