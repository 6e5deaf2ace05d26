// The strip chart: restart on a step change, the point ring, vertical follow, scrolling of
// the trace, and the graph menu commands.
#include <gtest/gtest.h>

#include <cmath>

#include "DisplayRig.h"

namespace zk::test {
namespace {

struct ChartRig : DisplayRig {
  ChartRig() : DisplayRig(800) {
    display.picGraph.Resize(800, 300);
    settings.SensitivityIndex = 8;  // gain "2.5"
  }
  StripChart& chart() { return display.chart; }
  // One chart point: the chart takes every second reading.
  void Point(int32_t raw) {
    display.Update_Graph(raw);
    display.Update_Graph(raw);
  }
  // Mean pixel row of the trace in a column, or -1 when the column has none.
  double TraceRow(int column) {
    const Surface& g = display.picGraph;
    double sum = 0;
    int n = 0;
    for (int y = 0; y < g.HeightPx(); ++y)
      if (g.PixelColor(column, y) == settings.GraphPen_Color) sum += y, ++n;
    return n ? sum / n : -1;
  }
  double RowOf(int32_t raw) {
    const double y = std::round((65536 - raw) * 2.5 * 2) - chart().ChartOffset;
    return display.picGraph.PxY(y);
  }
};

TEST(StripChart, StepChangeRestartsTraceMidChart) {
  ChartRig rig;
  rig.Point(40000);  // the step differs from the one the chart was scaled with
  EXPECT_EQ(rig.chart().ChartOffset, 25536 * 5 - 32768);
  EXPECT_EQ(rig.chart().ChartSensIndex, 8);
  const int16_t newest = rig.chart().ChartNewest;
  rig.Point(40000);
  rig.Point(40000);
  EXPECT_EQ(rig.chart().ChartNewest, newest + 2);
  EXPECT_EQ(rig.chart().ChartY[rig.chart().ChartNewest], 25536 * 5);
  // Step 9 has the same gain text, but the index changed: the trace starts again.
  rig.settings.SensitivityIndex = 9;
  rig.Point(40000);
  for (int32_t y : rig.chart().ChartY) EXPECT_EQ(y, 0);
}

TEST(StripChart, OrientationAndVerticalFollow) {
  ChartRig rig;
  rig.Point(40000);
  const int32_t offset = rig.chart().ChartOffset;
  rig.Point(30000);  // 177680 - offset = 82768: above the band, four 5000 steps up
  EXPECT_EQ(rig.chart().ChartOffset, offset + 20000);
  rig.Point(50000);  // far below: steps down until back inside
  const int32_t y = rig.chart().ChartY[rig.chart().ChartNewest];
  EXPECT_GE(y - rig.chart().ChartOffset, 1000);
  EXPECT_LE(y - rig.chart().ChartOffset, 64536);
  EXPECT_EQ((rig.chart().ChartOffset - offset) % 5000, 0);
  // Not inverted, the highest reading is the lowest value; inverted, the highest.
  rig.Point(65535);
  EXPECT_EQ(rig.chart().ChartY[rig.chart().ChartNewest], 5);
  rig.display.mnuGraphInvert_Click();
  EXPECT_TRUE(rig.controls.Checked("mnuGraphInvert"));
  rig.Point(65535);
  EXPECT_EQ(rig.chart().ChartY[rig.chart().ChartNewest], 65535 * 5);
}

TEST(StripChart, EmptySlotsDrawNothingAndTheTraceScrollsLeft) {
  ChartRig rig;
  rig.Point(40000);  // restart
  rig.Point(40000);  // a single point: nothing to join it to
  for (int x = 0; x < 800; ++x) ASSERT_EQ(rig.TraceRow(x), -1) << x;
  for (int i = 0; i < 150; ++i) rig.Point(40000);
  for (int i = 0; i < 20; ++i) rig.Point(39000);
  // The newest 20 points sit at the right end; older ones have moved 20 slots left.
  const double step = 800.0 / 199;
  EXPECT_NEAR(rig.TraceRow(795), rig.RowOf(39000), 2);
  EXPECT_NEAR(rig.TraceRow(static_cast<int>(800 - 25 * step)), rig.RowOf(40000), 2);
  EXPECT_EQ(rig.TraceRow(static_cast<int>(800 - 175 * step)), -1);  // not filled yet
  for (int i = 0; i < 60; ++i) rig.Point(39000);
  EXPECT_NEAR(rig.TraceRow(5), rig.RowOf(40000), 2);  // the old value reached the left edge
}

TEST(StripChart, GridLinesShowAtTheNextRedraw) {
  ChartRig rig;
  rig.settings.GraphGrid_Color = 0x00FF00;
  const Surface& g = rig.display.picGraph;
  auto gridPixels = [&] {
    int n = 0;
    for (int x = 0; x < g.WidthPx(); ++x) n += g.PixelColor(x, static_cast<int>(g.PxY(65536.0 / 7 * 3))) == 0x00FF00;
    return n;
  };
  rig.Point(40000);
  rig.Point(40000);
  rig.display.mnuGraphGridY_Click();
  EXPECT_TRUE(rig.controls.Checked("mnuGraphGridY"));
  EXPECT_EQ(gridPixels(), 0);
  rig.Point(40000);
  EXPECT_GT(gridPixels(), 700);
}

TEST(GraphMenu, CommandsSetChecksAndAskForALayout) {
  ChartRig rig;
  rig.display.mnuViewGraph_Click();
  EXPECT_TRUE(rig.settings.GraphVisible);
  EXPECT_TRUE(rig.controls.Checked("mnuViewGraph"));
  EXPECT_TRUE(rig.controls.Enabled("mnuGraph"));
  EXPECT_EQ(rig.shell.resizes, 1);
  rig.display.mnuViewGraph_Click();
  EXPECT_FALSE(rig.controls.Enabled("mnuGraph"));
  EXPECT_FALSE(rig.controls.Visible("picGraph"));

  rig.display.mnuGraphHeightIndex_Click(5);
  EXPECT_EQ(rig.settings.GraphHeight_Index, "5");
  EXPECT_TRUE(rig.controls.Checked("mnuGraphHeightIndex", 5));
  EXPECT_EQ(rig.display.picGraph.HeightPx(), 500);  // as tall as the meter panel
  rig.display.mnuGraphHeightIndex_Click(2);
  EXPECT_FALSE(rig.controls.Checked("mnuGraphHeightIndex", 5));
  EXPECT_EQ(rig.shell.resizes, 4);

  rig.chart().GraphResetPending = false;
  rig.display.mnuGraphPenWidthIndex_Click(3);
  EXPECT_EQ(rig.settings.GraphPenWidth_Index, "3");
  EXPECT_TRUE(rig.chart().GraphResetPending);
  rig.display.mnuGraphTimescaleSecs_Click(4);
  EXPECT_EQ(rig.settings.GraphTimescale, "32");
  rig.display.mnuGraphPenWidthIndex_Click(9);  // not an item: nothing changes
  EXPECT_EQ(rig.settings.GraphPenWidth_Index, "3");
}

}  // namespace
}  // namespace zk::test
