// Drawing costs on a 1280-pixel-wide meter panel, on the offscreen platform (no display
// needed, and the same figures whatever the caller's environment says).
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include "DisplayRig.h"

namespace {

// Text measurement needs a Qt application; one is made on first use.
void EnsureApp() {
  static int argc = 1;
  static char name[] = "display_bench";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* app = QCoreApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
  (void)app;
}

// Needle moves back and forth on a 1280-pixel panel, the dial type from the first argument
// and the step from the second: 37 units a move sweeps the dial, 4 is a hand drifting
// slowly. `announced`: a window listens, so each move is also announced as a region.
void MoveNeedle(benchmark::State& st, bool announced) {
  EnsureApp();
  zk::test::DisplayRig rig(1280);
  rig.settings.DialType = static_cast<int32_t>(st.range(0));
  int regions = 0;
  if (announced) rig.display.picMeterPanel.SetChangeListener([&](const QRegion& r) { regions += r.rectCount(); });
  rig.Needle(0);
  int32_t p = -9000;
  for (auto _ : st) {
    rig.state.WorkRecord.Needle = static_cast<int16_t>(p);
    rig.engine.Update_Needle();  // erase the old stroke, draw the new one
    p = p >= 9000 ? -9000 : p + static_cast<int32_t>(st.range(1));
  }
  st.counters["rects"] = benchmark::Counter(regions, benchmark::Counter::kAvgIterations);
}

void BM_UpdateNeedle(benchmark::State& st) { MoveNeedle(st, false); }
BENCHMARK(BM_UpdateNeedle)->ArgsProduct({{1, 2, 3}, {37, 4}})->Unit(benchmark::kMicrosecond);

void BM_UpdateNeedleAnnounced(benchmark::State& st) { MoveNeedle(st, true); }
BENCHMARK(BM_UpdateNeedleAnnounced)->ArgsProduct({{1, 2, 3}, {37, 4}})->Unit(benchmark::kMicrosecond);

void BM_DrawPanel(benchmark::State& st) {
  EnsureApp();
  zk::test::DisplayRig rig(1280);
  rig.settings.DialType = static_cast<int32_t>(st.range(0));
  rig.settings.ScaleType = 0;
  for (auto _ : st) rig.display.Draw_Panel();
}
BENCHMARK(BM_DrawPanel)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_UpdateGraphFullChart(benchmark::State& st) {
  EnsureApp();
  zk::test::DisplayRig rig(1280);
  rig.display.picGraph.Resize(1280, 480);
  rig.settings.GridX = rig.settings.GridY = true;
  int32_t raw = 30000;
  auto feed = [&] {
    rig.display.Update_Graph(raw);
    rig.display.Update_Graph(raw);  // the second reading of a pair makes the point and redraws
    raw = raw >= 34000 ? 30000 : raw + 97;
  };
  for (int i = 0; i < 400; ++i) feed();  // the ring is full
  for (auto _ : st) feed();
}
BENCHMARK(BM_UpdateGraphFullChart)->Unit(benchmark::kMicrosecond);

}  // namespace
