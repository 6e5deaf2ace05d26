// Cost of taking one sensor message through the receive call, and through the whole
// receive event (engine included), on the scripted port.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "FakeSerialPort.h"
#include "Fakes.h"
#include "link/SampleStream.h"
#include "link/SyncTest.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"

namespace {

using namespace zk;
using namespace zk::test;

struct Rig {
  Rig() {
    table.Init_SensTable();
    tc.settings.CommPort = 3;
    tc.state.OperatingMode = ModeLive;
    tc.state.SensorType = "3A";
    port.SetCommPort(3);
    port.SetPortOpen(true);
    port.SetRThreshold(5);
  }
  TestContext tc;
  SensitivityTable table;
  MeterEngine engine{tc.ctx, table};
  FakeSerialPort port{tc.clock};
  SyncTest sync{tc.ctx, port, engine};
  SampleStream stream{tc.ctx, port, engine, sync};
};

void BM_ComInput_OneMessage(benchmark::State& s) {
  Rig r;
  for (auto _ : s) {
    r.port.Arrive("P0FA0\r");
    r.stream.Com_Input();
    benchmark::DoNotOptimize(r.tc.state.RawReading);
  }
}
BENCHMARK(BM_ComInput_OneMessage);

void BM_Comm1_OnComm_OneMessage(benchmark::State& s) {
  Rig r;
  int32_t v = 4000;
  char msg[8];
  for (auto _ : s) {
    v = v == 4000 ? 4010 : 4000;
    std::snprintf(msg, sizeof msg, "P%04X\r", v);
    r.port.Arrive(msg);
    r.stream.Comm1_OnComm();
    r.tc.clock.now += 0.02;
  }
}
BENCHMARK(BM_Comm1_OnComm_OneMessage);

}  // namespace
