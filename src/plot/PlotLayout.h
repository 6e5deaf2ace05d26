#pragma once
// Where everything of the session picture goes: the title line, the row of tag numbers,
// the four lanes (needle, base, sensitivity with the lamp band under it, raw reading) and
// the time axis under them. The lanes share the columns left .. left+columns-1, one per
// reduced column of the series.
#include <QRect>

#include <cstdint>

#include "plot/PlotSeries.h"

namespace zk::plot {

// A lane's box and the values at its bottom and top edge.
struct Lane {
  QRect rect;
  double lo = 0, hi = 1;
  // The pixel row of a value; values outside the lane sit on its edge.
  int Y(double v) const;
};

struct PlotLayout {
  int width = 0, height = 0;
  int fontPx = 12;
  QRect title;
  int tagRowTop = 0;  // tag numbers stand between here and the needle lane
  int left = 0, columns = 1;
  Lane needle, base, sensitivity, raw;
  QRect lampBand;   // three rows: SET, body motion, lag
  int axisTop = 0;  // tick marks start here, time labels under them, clock labels under those

  // Lets the raw lane span rawMin..rawMax, with a little room above and below.
  void FitRawLane(int32_t rawMin, int32_t rawMax);

  int X(int64_t timeMs, const TimeRange& range) const { return left + ColumnOf(timeMs, range, columns); }
  int LanesTop() const { return needle.rect.top(); }
  int LanesBottom() const { return raw.rect.bottom(); }
};

// The needle lane spans a little more than the scale ends at +-10000.
inline constexpr double NeedleLaneEnd = 11000;
inline constexpr int NeedleSetMark = -2503, NeedleScaleEnd = 10000;

// The geometry of a picture of width x height.
PlotLayout LayoutPlot(int width, int height);

// The base value the meter shows for a base step: (step \ 2 + 8) / 20.
inline double BaseValue(int32_t step) { return (step / 2 + 8) / 20.0; }

}  // namespace zk::plot
