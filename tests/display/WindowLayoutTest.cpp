// The window layout over a fake main window: normal, maximised and minimised states, the
// stacking of graph and record panel, the children in panel coordinates, the position bar
// and the narrow-screen warning.
#include <gtest/gtest.h>

#include "DisplayRig.h"
#include "display/WindowLayout.h"

namespace zk::test {
namespace {

// A window whose client width follows its outer width, with a 1920 x 1040 work area.
class FakeHost : public LayoutHost {
 public:
  int state = 0;
  int32_t widthTw = 808 * 15, heightTw = 600 * 15;
  int32_t workWidthTw = 1920 * 15, workHeightTw = 1040 * 15;
  QSize outside{0, 0};  // the window manager's frame
  QRect panel, graph, record, position, knob, bd;
  int tagLeft = 0;
  int32_t back = -1;

  int WindowState() const override { return state; }
  int32_t WindowWidthTwips() const override { return widthTw; }
  int32_t WindowHeightTwips() const override { return heightTw; }
  void SetWindowWidthTwips(int32_t w) override { widthTw = w; }
  void SetWindowHeightTwips(int32_t h) override { heightTw = h; }
  int ClientWidth() const override { return state == 2 ? workWidthTw / 15 : widthTw / 15 - 8; }
  int TwipsPerPixelX() const override { return 15; }
  int TwipsPerPixelY() const override { return 15; }
  int32_t WorkAreaWidthTwips() const override { return workWidthTw; }
  int32_t WorkAreaHeightTwips() const override { return workHeightTw; }
  SystemMetrics Metrics() const override { return {23, 20, 4, 4}; }
  QSize OuterFrameSize() const override { return outside; }
  void SetMeterPanelGeometry(const QRect& r) override { panel = r; }
  void SetGraphGeometry(const QRect& r) override { graph = r; }
  void SetRecordPanelGeometry(const QRect& r) override { record = r; }
  void SetFilePositionGeometry(const QRect& r) override { position = r; }
  void SetKnobGeometry(const QRect& r) override { knob = r; }
  void SetBdGeometry(const QRect& r) override { bd = r; }
  int TagLabelWidth() const override { return 60; }
  void SetTagLabelLeft(int left) override { tagLeft = left; }
  void SetWindowBackColor(int32_t c) override { back = c; }
  void SetRecordPanelBackColor(int32_t) override {}
  int32_t AppWorkspaceColor() const override { return 0xABABAB; }
  int32_t ButtonFaceColor() const override { return 0xF0F0F0; }
};

struct LayoutRig : DisplayRig {
  FakeHost host;
  WindowLayout layout{ctx, display, host};
  LayoutRig() { layout.Get_Window_Metrics(); }
};

TEST(WindowLayout, MetricsFromTheSystem) {
  LayoutRig rig;
  EXPECT_EQ(rig.layout.Metrics().TitleMenuHeight, 43);
  EXPECT_EQ(rig.layout.Metrics().NonClientHeight, 51);
  EXPECT_EQ(rig.layout.Metrics().NonClientWidth, 8);
}

TEST(WindowLayout, NormalStateWithRecordPanelAndNoGraph) {
  LayoutRig rig;
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.panel, QRect(0, 0, 800, 500));
  EXPECT_EQ(rig.host.graph.height(), 0);
  EXPECT_EQ(rig.host.record, QRect(0, 500, 800, 81));
  EXPECT_EQ(rig.host.heightTw, (500 + 81 + 51) * 15);
  EXPECT_EQ(rig.host.position, QRect(13, 1, 774, 19));
  EXPECT_EQ(rig.host.tagLeft, 800 - 76);
  // The knob and the counter in panel coordinates: lower left and lower right.
  EXPECT_EQ(rig.host.knob, QRect(20, 340, 120, 120));
  EXPECT_EQ(rig.host.bd, QRect(680, 400, 80, 40));
  EXPECT_EQ(rig.display.picMeterPanel.WidthPx(), 800);
  EXPECT_EQ(rig.host.back, rig.settings.Background_Color);
  EXPECT_TRUE(rig.state.ResetPending);  // the dial was repainted
  EXPECT_FALSE(rig.display.chart.GraphResetPending);
  EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST(WindowLayout, GraphHeightFiveMatchesThePanel) {
  LayoutRig rig;
  rig.host.workHeightTw = 1200 * 15;  // room for the whole 1132-pixel window
  rig.settings.GraphVisible = true;
  rig.settings.GraphHeight_Index = "5";
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.graph, QRect(0, 500, 800, 500));
  EXPECT_EQ(rig.host.record.top(), 1000);
  EXPECT_EQ(rig.host.heightTw, (500 + 500 + 81 + 51) * 15);
  rig.settings.GraphHeight_Index = "0";
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.graph.height(), 0);
  EXPECT_EQ(rig.host.heightTw, (500 + 81 + 51) * 15);
}

TEST(WindowLayout, MinimumWidthsWithRecordPanelShownAndHidden) {
  LayoutRig rig;
  rig.host.widthTw = 200 * 15;
  rig.settings.RecordVisible = false;
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.widthTw, (325 + 8) * 15);
  EXPECT_EQ(rig.host.panel.size(), QSize(325, 203));  // 203.125
  EXPECT_EQ(rig.host.record.height(), 0);
  EXPECT_EQ(rig.host.heightTw, (203 + 51) * 15);
  rig.settings.RecordVisible = true;
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.widthTw, (550 + 8) * 15);
  EXPECT_EQ(rig.host.panel.width(), 550);
  EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST(WindowLayout, NarrowWorkAreaWarnsAboutTheRecordPanel) {
  LayoutRig rig;
  rig.host.workWidthTw = 500 * 15;
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.widthTw, 500 * 15);
  EXPECT_EQ(rig.host.panel.width(), 492);
  ASSERT_EQ(rig.prompts.shown.size(), 1u);
  EXPECT_EQ(rig.prompts.shown[0].title, "Display Warning");
  EXPECT_EQ(rig.prompts.shown[0].text, "Unable to display full Recording Panel width");
  EXPECT_EQ(rig.prompts.shown[0].icon, MsgIcon::Warning);
}

// The widest window whose height fits a work area, in every view: record panel shown and
// hidden; chart hidden, at two fifths of the panel and as tall as the panel. (The dial does
// not change the window's shape.) 1400 pixels are wanted, the width that used to give a
// 1325-pixel window on a 1200-pixel screen.
TEST(WindowLayout, WidthIsChosenSoTheWindowFitsTheWorkAreaInEveryView) {
  struct Row {
    QSize work;
    bool record;
    int fifths;
    int expected;
  };
  const WindowChrome menuOnly{0, 20, 0, 0};
  const Row rows[] = {
      {{1920, 1200}, true, 0, 1400},   // 875 + 81 + 20 = 976
      {{1920, 1200}, true, 2, 1256},   // 785 + 314 + 81 + 20 = 1200
      {{1920, 1200}, true, 5, 879},    // 549 + 549 + 101 = 1199
      {{1920, 1200}, false, 0, 1400},  // 875 + 20
      {{1920, 1200}, false, 2, 1349},  // 843 + 337 + 20 = 1200
      {{1920, 1200}, false, 5, 944},   // 590 + 590 + 20 = 1200
      {{3840, 2160}, true, 0, 1400},  {{3840, 2160}, true, 2, 1400},  {{3840, 2160}, true, 5, 1400},
      {{3840, 2160}, false, 0, 1400}, {{3840, 2160}, false, 2, 1400}, {{3840, 2160}, false, 5, 1400},
  };
  for (const Row& r : rows) {
    const WindowView view{r.record, r.fifths};
    const int w = FitWindowWidth(r.work, view, menuOnly, 1400);
    EXPECT_EQ(w, r.expected) << r.work.height() << " " << r.record << " " << r.fifths;
    EXPECT_LE(NormalWindowHeight(w, view, menuOnly), r.work.height());
    if (w < 1400) {
      EXPECT_GT(NormalWindowHeight(w + 1, view, menuOnly), r.work.height());
    }
  }
}

// The frame around the window counts, both ways, and a smaller wanted width is kept.
TEST(WindowLayout, TheWindowFrameCountsInTheFit) {
  const WindowView view{true, 2};
  const WindowChrome framed{4, 20, 10, 30};
  const int w = FitWindowWidth({1920, 1200}, view, framed, 1400);
  EXPECT_EQ(w, 1225);
  EXPECT_LE(NormalWindowHeight(w, view, framed) + 30, 1200);
  EXPECT_GT(NormalWindowHeight(w + 1, view, framed) + 30, 1200);
  EXPECT_EQ(FitWindowWidth({1920, 1200}, view, framed, 900), 900);
  EXPECT_EQ(FitWindowWidth({1000, 2160}, view, framed, 1400), 990);  // the work area's width
}

// A screen too small for any layout: the minimum width wins over the height, a work area
// narrower than the minimum gives its own width, and nothing comes out zero or negative.
TEST(WindowLayout, ATinyScreenKeepsTheMinimumWidth) {
  const WindowChrome menuOnly{0, 20, 0, 0};
  EXPECT_EQ(FitWindowWidth({640, 200}, {true, 2}, menuOnly, 1400), 550);
  EXPECT_EQ(FitWindowWidth({640, 200}, {false, 5}, menuOnly, 1400), 325);
  EXPECT_EQ(FitWindowWidth({640, 200}, {false, 0}, menuOnly, 100), 325);
  EXPECT_EQ(FitWindowWidth({400, 150}, {true, 0}, menuOnly, 1400), 400);
  EXPECT_EQ(FitWindowWidth({0, 0}, {true, 5}, WindowChrome{0, 20, 8, 30}, 1400), 1);
  EXPECT_EQ(FitWindowWidth({0, 0}, {true, 5}, menuOnly, -50), 1);
  // A chart height no layout can compute fits nothing: the minimum again.
  EXPECT_EQ(FitWindowWidth({1920, 1200}, {true, 30000}, menuOnly, 1400), 550);
}

// The layout applies the fit: a 1400-pixel client with chart and record panel on a
// 1200-pixel work area whose window manager adds a 28-pixel title bar.
TEST(WindowLayout, NormalLayoutKeepsTheWholeWindowOnTheWorkArea) {
  LayoutRig rig;
  rig.host.workHeightTw = 1200 * 15;
  rig.host.outside = QSize(2, 28);
  rig.host.widthTw = 1408 * 15;
  rig.settings.GraphVisible = true;
  rig.settings.GraphHeight_Index = "2";
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.widthTw, 1197 * 15);
  EXPECT_LE(rig.host.heightTw / 15 + 28, 1200);
  // The record panel is the window's last row, inside the work area.
  EXPECT_EQ(rig.host.record.top() + rig.host.record.height() + 51, rig.host.heightTw / 15);
  EXPECT_TRUE(rig.prompts.shown.empty());
  // A second pass finds the size already consistent.
  const int32_t w = rig.host.widthTw, h = rig.host.heightTw;
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.widthTw, w);
  EXPECT_EQ(rig.host.heightTw, h);
}

TEST(WindowLayout, MaximisedCentresThePanelAndMinimisedKeepsIt) {
  LayoutRig rig;
  rig.host.state = 2;
  rig.layout.Form_Resize();
  // 1040 - (81 + 43) = 916 pixels high available, so 1465.6 wide.
  EXPECT_EQ(rig.host.panel, QRect(227, 0, 1466, 916));
  EXPECT_EQ(rig.host.record, QRect(227, 916, 1466, 81));
  // A narrow screen: the panel takes the full width and ends short of the bottom.
  rig.host.workWidthTw = 1200 * 15;
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.panel, QRect(0, 0, 1200, 750));
  rig.host.state = 1;
  rig.host.workWidthTw = 700 * 15;
  rig.layout.Form_Resize();
  EXPECT_EQ(rig.host.panel, QRect(0, 0, 1200, 750));
}

TEST(WindowLayout, PositionBarShowsThePlayRange) {
  LayoutRig rig;
  rig.state.RangeStartX = 250;
  rig.state.RangeEndX = 500;
  rig.state.OperatingMode = ModeRecording;
  rig.layout.Form_Resize();
  const Surface& bar = rig.display.picFilePosition;
  EXPECT_EQ(bar.PixelColor(static_cast<int>(bar.PxX(375)), 9), 255);
  EXPECT_NE(bar.PixelColor(static_cast<int>(bar.PxX(100)), 9), 255);
  EXPECT_EQ(bar.CurrentX, 250);
  rig.state.OperatingMode = ModeNone;
  rig.layout.Form_Resize();
  EXPECT_EQ(bar.PixelColor(static_cast<int>(bar.PxX(375)), 9), 0xF0F0F0);
}

// A layout clears the chart without feeding it a reading: no full-height spike, and the
// first centring lands on a real reading, whichever reading the layout comes after.
TEST(WindowLayout, ALayoutFeedsTheChartNoReading) {
  for (int before = 0; before < 2; ++before) {
    LayoutRig rig;
    rig.settings.GraphVisible = true;
    rig.settings.SensitivityIndex = 8;  // gain 2.5
    rig.layout.Form_Resize();
    for (int i = 0; i < before; ++i) rig.display.Update_Graph(40000);
    rig.layout.Form_Resize();
    for (int i = 0; i < 20; ++i) rig.display.Update_Graph(40000);
    const StripChart& chart = rig.display.chart;
    for (int32_t y : chart.ChartY) EXPECT_TRUE(y == 0 || y == 25536 * 5) << y;
    EXPECT_EQ(chart.ChartOffset, 25536 * 5 - 32768) << before;
  }
}

}  // namespace
}  // namespace zk::test
