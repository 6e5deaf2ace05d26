#pragma once
// The span of a recording the overview shows: narrowed or widened about a time (the
// wheel), or set to the span a drag chose, never shorter than MinZoomSpanMs nor beyond
// the whole recording.
#include <cstdint>

#include "plot/PlotSeries.h"

namespace zk::plot {

inline constexpr int64_t MinZoomSpanMs = 2000;

// `shown` scaled by `factor` (below 1 narrows) so that `atMs` keeps its place in it.
TimeRange ZoomAbout(const TimeRange& shown, const TimeRange& whole, int64_t atMs, double factor);

// The span between two times, whichever comes first, widened about its middle to the
// least span and kept within `whole`.
TimeRange ZoomBetween(int64_t aMs, int64_t bMs, const TimeRange& whole);

// True when `span` covers the whole recording.
bool IsWhole(const TimeRange& span, const TimeRange& whole);

}  // namespace zk::plot
