// One reading through the meter engine, the way the receive path runs it: Process_Sample,
// then the needle step (Calc_Base, Calc_Needle, the view's Draw_Needle). The view only
// counts its calls.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "Fakes.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"

namespace {

// A slowly drifting reading with a little noise, like a hand on the sensor.
std::vector<int32_t> Readings() {
  std::vector<int32_t> r(4096);
  uint32_t seed = 12345;
  for (size_t i = 0; i < r.size(); ++i) {
    seed = seed * 1103515245u + 12345u;
    const int noise = static_cast<int>((seed >> 16) % 41) - 20;
    r[i] = 30000 + static_cast<int32_t>(4000 * std::sin(i / 300.0)) + noise;
  }
  return r;
}

void OneReading(benchmark::State& bs, int32_t dial) {
  zk::test::TestContext t;
  zk::SensitivityTable table;
  table.Init_SensTable();
  zk::MeterEngine engine(t.ctx, table);
  t.settings.DialType = dial;
  t.settings.NeedleBdEnable = true;
  t.state.BdCountEnabled = true;
  t.state.ResetPending = true;
  const std::vector<int32_t> readings = Readings();
  size_t i = 0;
  for (auto _ : bs) {
    t.state.RawReading = readings[i++ & (readings.size() - 1)];
    engine.Process_Sample();
    engine.Update_Needle();
    benchmark::DoNotOptimize(t.view.lastNeedle);
  }
  bs.counters["view_calls"] =
      benchmark::Counter(static_cast<double>(t.view.led + t.view.base + t.view.bd), benchmark::Counter::kAvgIterations);
}

void BM_Reading_Traditional(benchmark::State& s) { OneReading(s, zk::DialTraditional); }
void BM_Reading_Continuous(benchmark::State& s) { OneReading(s, zk::DialContinuous); }
void BM_Reading_Circular(benchmark::State& s) { OneReading(s, zk::DialCircular1); }

}  // namespace

BENCHMARK(BM_Reading_Traditional);
BENCHMARK(BM_Reading_Continuous);
BENCHMARK(BM_Reading_Circular);
