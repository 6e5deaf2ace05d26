#pragma once
// The link subsystem wired to the test fakes: an open port with a type-"3A" sensor in
// live mode, the meter engine and the receive path.
#include <gtest/gtest.h>

#include "FakeSerialPort.h"
#include "Fakes.h"
#include "link/Connection.h"
#include "link/SampleStream.h"
#include "link/SyncTest.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"

namespace zk::test {

class LinkTest : public ::testing::Test {
 protected:
  LinkTest() {
    table.Init_SensTable();
    tc.settings.CommPort = 3;
    tc.state.OperatingMode = ModeLive;
    tc.state.SensorType = "3A";
    tc.state.LedColor = tc.settings.Dial_Color;
    port.SetCommPort(3);
    port.SetPortOpen(true);
    port.SetRThreshold(5);
  }
  // Delivers bytes and runs the receive event once.
  void Receive(const std::string& bytes) {
    port.Arrive(bytes);
    stream.Comm1_OnComm();
  }

  TestContext tc;
  Context& ctx = tc.ctx;
  SessionState& st = tc.state;
  Settings& set = tc.settings;
  SensitivityTable table;
  MeterEngine engine{ctx, table};
  FakeSerialPort port{tc.clock};
  SyncTest sync{ctx, port, engine};
  SampleStream stream{ctx, port, engine, sync};
  Connection conn{ctx, port};
};

}  // namespace zk::test
