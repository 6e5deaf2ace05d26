#pragma once
// The ticks of the time axis: whole seconds at a round step (1, 2, 5, 10, 15, 30 s, 1, 2,
// 5, 10, 15, 30 min, 1, 2, 3, 6, 12 h, then whole days) chosen so that neighbouring labels
// stand at least a given number of pixels apart.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plot/PlotSeries.h"

namespace zk::plot {

// The step in seconds; `minGapPx` is the least distance between two ticks.
int64_t TickStepSeconds(const TimeRange& range, int columns, int minGapPx);

// The ticks inside the range, in seconds from the start of the recording.
std::vector<int64_t> TickSeconds(const TimeRange& range, int columns, int minGapPx);

struct AxisLabel {
  int64_t seconds;    // from the start of the recording
  std::string time;   // the player's time text: "mm:ss", or "h:mm:ss" for a recording of an hour or more
  std::string clock;  // the time of day, "hh:mm:ss", when the recording carries its start time
};

// The labels of the axis for a range drawn over `columns` pixels, spaced so that the
// widest of them (measured by `textWidth`) keeps `padPx` free on either side.
std::vector<AxisLabel> AxisLabels(const TimeRange& range, int columns, int32_t totalTimeMs,
                                  std::optional<int32_t> startSeconds,
                                  const std::function<int(const std::string&)>& textWidth, int padPx);

}  // namespace zk::plot
