#include "plot/Zoom.h"

#include <algorithm>
#include <cmath>

namespace zk::plot {

namespace {

// A span of `span` ms starting at `fromMs`, moved (not shrunk) to lie within `whole`.
TimeRange Within(int64_t fromMs, int64_t span, const TimeRange& whole) {
  const int64_t wholeSpan = std::max<int64_t>(0, whole.toMs - whole.fromMs);
  span = std::clamp<int64_t>(span, std::min(MinZoomSpanMs, wholeSpan), wholeSpan);
  fromMs = std::clamp(fromMs, whole.fromMs, whole.fromMs + wholeSpan - span);
  return TimeRange{fromMs, fromMs + span};
}

}  // namespace

TimeRange ZoomAbout(const TimeRange& shown, const TimeRange& whole, int64_t atMs, double factor) {
  atMs = std::clamp(atMs, shown.fromMs, shown.toMs);
  const auto span = static_cast<int64_t>(std::llround(static_cast<double>(shown.toMs - shown.fromMs) * factor));
  const int64_t fitted = std::min(std::max(span, MinZoomSpanMs), std::max<int64_t>(0, whole.toMs - whole.fromMs));
  const double share = static_cast<double>(atMs - shown.fromMs) / static_cast<double>(shown.Span());
  return Within(atMs - static_cast<int64_t>(std::llround(share * static_cast<double>(fitted))), fitted, whole);
}

TimeRange ZoomBetween(int64_t aMs, int64_t bMs, const TimeRange& whole) {
  const int64_t lo = std::min(aMs, bMs), hi = std::max(aMs, bMs);
  const int64_t span = std::max(hi - lo, MinZoomSpanMs);
  return Within((lo + hi) / 2 - span / 2, span, whole);
}

bool IsWhole(const TimeRange& span, const TimeRange& whole) {
  return span.fromMs <= whole.fromMs && span.toMs >= whole.toMs;
}

}  // namespace zk::plot
