#include "display/StripChart.h"

#include <algorithm>
#include <vector>

#include "base/Numbers.h"

namespace zk {

namespace {
constexpr double Top = 65900;  // the vertical scale: 65900 at the top, 0 at the bottom
constexpr int32_t FollowHigh = 64536;
constexpr int32_t FollowLow = 1000;
constexpr int32_t FollowStep = 5000;
constexpr int MarkEvery = StripChart::Points / 10;  // a vertical grid line every 20 slots
// The six horizontal grid lines divide the full scale into seven bands (elements 1..6).
constexpr std::array<int32_t, 7> GridLevels = [] {
  std::array<int32_t, 7> levels{};
  for (int j = 1; j <= 6; ++j) levels[j] = static_cast<int32_t>(65536.0 / 7 * j + 0.5);
  return levels;
}();
}  // namespace

StripChart::StripChart(Context& ctx, Surface& graph, const SensitivityTable& table)
    : ctx_(ctx), graph_(graph), table_(table) {}

void StripChart::Rebuild() {
  const Settings& s = ctx_.settings;
  ChartY.fill(0);
  graph_.Cls();
  const double width = graph_.WidthPx();
  graph_.Scale(0, Top, width, -Top);
  // Every new point repaints up to 199 segments; aliased strokes keep that well inside
  // the time between two readings.
  graph_.Antialiased = false;
  // The pen width is stored as text; anything unusable draws a 1-pixel trace.
  graph_.DrawWidth = std::max<int>(1, ParseInt16(s.GraphPenWidth_Index).value_or(1));
  graph_.SetBackColor(s.GraphSheet_Color);
  for (int k = 0; k < Points; ++k) ChartX[k] = static_cast<int32_t>(IntDiv(CInt32(k * width), Points - 1));
  ChartStep = static_cast<int16_t>(IntDiv(CInt32(width), Points));
  ChartDivisor = 1;
  GraphResetPending = false;
}

void StripChart::Reset() { Rebuild(); }

void StripChart::Update_Graph(int32_t raw) {
  const Settings& s = ctx_.settings;
  // A falling reading draws upwards unless the chart is inverted.
  const int32_t v = s.GraphInvert ? raw : 65536 - raw;
  if (GraphResetPending) Rebuild();

  ++ChartCounter;
  if (ChartCounter % 2 == 1) return;  // every second reading makes a point
  if (ChartDivisor < 1) ChartDivisor = 1;
  if (ChartCounter % ChartDivisor == 0) ChartCounter = 0;

  const double g = table_.Gain(s.SensitivityIndex);
  if (s.SensitivityIndex != ChartSensIndex) {
    // A new step starts the trace afresh with the current value mid-chart.
    graph_.Cls();
    ChartSensIndex = s.SensitivityIndex;
    ChartY.fill(0);
    ChartOffset = CInt32(v * g * 2 - 32768);
    return;
  }

  if (ChartCounter == 0) {
    ChartNewest = static_cast<int16_t>(ChartNewest + 1 >= Points ? 0 : ChartNewest + 1);
    ChartOldest = static_cast<int16_t>(ChartNewest + 1 >= Points ? 0 : ChartNewest + 1);
    const int32_t y = CInt32(v * g * 2);
    ChartY[ChartNewest] = y;
    while (int64_t{y} - ChartOffset > FollowHigh) ChartOffset += FollowStep;
    while (int64_t{y} - ChartOffset < FollowLow) ChartOffset -= FollowStep;
  } else {
    ChartScroll = static_cast<int16_t>(IntDiv(int64_t{ChartCounter} * ChartStep, ChartDivisor));
    if (ChartScroll == ChartLastScroll) return;
    ChartLastScroll = ChartScroll;
  }
  Redraw();
}

void StripChart::Redraw() {
  const Settings& s = ctx_.settings;
  graph_.Cls();
  // The lines go to the surface in runs of one colour, in the order they are drawn one by
  // one, so where they cross the later still lies on top.
  std::vector<QLineF> run;
  int32_t runColor = 0;
  auto add = [&](double x1, double y1, double x2, double y2, int32_t color) {
    if (!run.empty() && color != runColor) {
      graph_.Lines(run, runColor);
      run.clear();
    }
    runColor = color;
    run.emplace_back(x1, y1, x2, y2);
  };
  if (s.GridY) {
    // The horizontal lines stand still; they do not follow ChartOffset.
    for (int j = 1; j <= 6; ++j) add(0, GridLevels[j], graph_.ScaleWidth(), GridLevels[j], s.GraphGrid_Color);
  }
  int slot = ChartOldest;
  for (int k = 1; k < Points; ++k) {
    const int prev = slot;
    slot = slot + 1 >= Points ? 0 : slot + 1;
    const double x = ChartX[k] - ChartScroll;
    if (slot % MarkEvery == 0 && s.GridX) add(x, 0, x, 65536, s.GraphGrid_Color);
    if (ChartY[prev] != 0)
      add(ChartX[k - 1] - ChartScroll, static_cast<double>(ChartY[prev]) - ChartOffset, x,
          static_cast<double>(ChartY[slot]) - ChartOffset, s.GraphPen_Color);
  }
  graph_.Lines(run, runColor);
}

}  // namespace zk
