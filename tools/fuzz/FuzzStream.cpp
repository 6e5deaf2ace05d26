// libFuzzer target for the stream decoder: arbitrary bytes, split into timed arrivals, go
// through the receive event with the meter engine behind it. The first byte picks the
// sensor type and whether the sync test runs. Nothing may crash, hang or grow without limit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "FakeSerialPort.h"
#include "Fakes.h"
#include "link/Connection.h"
#include "link/SampleStream.h"
#include "link/SyncTest.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"

using namespace zk;
using namespace zk::test;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const types[] = {"3A", "40", "31", "??"};
  static const SensitivityTable table = [] {
    SensitivityTable t;
    t.Init_SensTable();
    return t;
  }();
  TestContext tc;
  MeterEngine engine(tc.ctx, table);
  FakeSerialPort port(tc.clock);
  SyncTest sync(tc.ctx, port, engine);
  SampleStream stream(tc.ctx, port, engine, sync);
  tc.settings.CommPort = 3;
  tc.settings.SwitchMode_Index = static_cast<int16_t>(1 + (data[0] >> 7));
  tc.state.OperatingMode = (data[0] & 0x10) ? ModeRecording : ModeLive;
  tc.settings.AudioEnable = (data[0] & 0x20) != 0;
  tc.state.SensorType = types[data[0] & 3];
  tc.state.ResetPending = tc.state.NeedleSetRequest = true;
  port.SetCommPort(3);
  port.SetPortOpen(true);
  port.SetRThreshold(5);
  if (data[0] & 0x40) {
    tc.controls.SetCaption("mnuConnectSyncTest", "Sync Test - Start");
    sync.mnuConnectSyncTest_Click();
  }

  // Byte 0x01 starts a new arrival 37 ms after the previous one.
  std::string chunk;
  double delay = 0;
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0x01) {
      port.Arrive(chunk, delay);
      chunk.clear();
      delay += 0.037;
    } else {
      chunk += static_cast<char>(data[i]);
    }
  }
  port.Arrive(chunk, delay);
  // Receive events run while enough characters wait; otherwise time jumps to the next
  // arrival, and on to a second past the last one so that the stall watchdogs fire. Bytes
  // below the receive threshold stay waiting, as on the port.
  const double end = tc.clock.now + delay + 1;
  for (int round = 0; round < 10000; ++round) {
    if (port.Pump()) continue;
    if (tc.clock.now >= end) break;
    tc.clock.AdvanceTo(std::min(end, port.NextArrival()));
  }
  VersionReply v;
  Parse_Version_Reply(std::string(reinterpret_cast<const char*>(data), size), v);
  return 0;
}
