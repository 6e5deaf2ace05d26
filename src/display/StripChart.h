#pragma once
// The strip chart on picGraph: the last 200 points (every second reading, about 8 s) as a
// trace scaled by the gain of the current sensitivity step, with optional grid lines. The
// trace restarts when the step changes and follows the value vertically in 5000-unit steps.
#include <array>
#include <cstdint>

#include "core/Context.h"
#include "display/Surface.h"
#include "meter/SensitivityTable.h"

namespace zk {

class StripChart {
 public:
  static constexpr int Points = 200;

  StripChart(Context& ctx, Surface& graph, const SensitivityTable& table);

  // One raw reading (0..65535).
  void Update_Graph(int32_t raw);
  // Fits the chart to its surface's size and clears it, without a reading: the trace
  // starts again with the next one.
  void Reset();

  bool GraphResetPending = true;
  std::array<int32_t, Points> ChartY{};
  std::array<int32_t, Points> ChartX{};
  int16_t ChartNewest = 0;
  int16_t ChartOldest = 0;
  int32_t ChartOffset = 0;
  int16_t ChartStep = 0;
  int16_t ChartDivisor = 1;
  int16_t ChartCounter = 0;
  int16_t ChartScroll = 0;
  int16_t ChartLastScroll = 0;
  int16_t ChartSensIndex = 0;  // the step the trace was scaled with

 private:
  void Rebuild();
  void Redraw();
  Context& ctx_;
  Surface& graph_;
  const SensitivityTable& table_;
};

}  // namespace zk
