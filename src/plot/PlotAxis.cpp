#include "plot/PlotAxis.h"

#include <algorithm>

#include "base/Numbers.h"
#include "zkd/StartTexts.h"

namespace zk::plot {

int64_t TickStepSeconds(const TimeRange& range, int columns, int minGapPx) {
  static constexpr int64_t ladder[] = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                       600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};
  for (int64_t step : ladder)
    if (step * 1000 * columns >= int64_t{minGapPx} * range.Span()) return step;
  // Beyond a day per label: whole days.
  const int64_t day = 86400;
  const int64_t days = (int64_t{minGapPx} * range.Span() / columns / 1000 + day - 1) / day;
  return days * day;
}

std::vector<int64_t> TickSeconds(const TimeRange& range, int columns, int minGapPx) {
  const int64_t step = TickStepSeconds(range, columns, minGapPx);
  std::vector<int64_t> ticks;
  const int64_t firstMs = (range.fromMs + step * 1000 - 1) / (step * 1000) * (step * 1000);
  for (int64_t t = firstMs; t <= range.toMs; t += step * 1000) ticks.push_back(t / 1000);
  return ticks;
}

std::vector<AxisLabel> AxisLabels(const TimeRange& range, int columns, int32_t totalTimeMs,
                                  std::optional<int32_t> startSeconds,
                                  const std::function<int(const std::string&)>& textWidth, int padPx) {
  auto label = [&](int64_t s) {
    AxisLabel l{s, Format_Time(static_cast<int32_t>(s), totalTimeMs), {}};
    if (startSeconds) l.clock = TimeOfDay(static_cast<int32_t>((*startSeconds + s) % 86400));
    return l;
  };
  // The last second has the longest time text of the range.
  const AxisLabel widest = label(range.toMs / 1000);
  const int w = std::max(textWidth(widest.time), textWidth(widest.clock));
  std::vector<AxisLabel> labels;
  for (int64_t s : TickSeconds(range, columns, w + 2 * padPx)) labels.push_back(label(s));
  return labels;
}

}  // namespace zk::plot
