#pragma once
// The sync test: while it runs the needle sweeps a fixed sine pattern one step per message,
// and at each upward crossing of the SET mark the lamp takes the lag colour and the
// computer beeps, so the user can see and hear whether display and sound keep pace.
#include <array>
#include <cstdint>

#include "core/CommandTable.h"
#include "core/Context.h"
#include "link/MessageReader.h"
#include "link/PortGate.h"
#include "link/SerialPort.h"

namespace zk {

class MeterEngine;

// The 200 needle values of one sine period, elements 1..200 (element 0 is 0).
std::array<int16_t, 201> Build_Sync_Pattern();

class SyncTest {
 public:
  SyncTest(Context& ctx, SerialPort& port, MeterEngine& engine);

  // Menu "Sync Test - Start" / "Sync Test - Stop" (mnuConnectSyncTest).
  void mnuConnectSyncTest_Click();
  void Register_Commands(CommandTable& commands);
  void Start_SyncTest();
  // Receive call while the test runs: advances the pattern once per message.
  void Com_Sync();

 private:
  void Take_Burst();  // the messages of one receive call
  void Advance();
  Context& ctx_;
  SerialPort& port_;
  PortGate gate_;
  MeterEngine& engine_;
  MessageReader reader_;
};

}  // namespace zk
