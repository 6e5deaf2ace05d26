#pragma once
// A meter engine with its alerts and counters on the fake context, timers connected.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "meter/Alerts.h"
#include "meter/Counters.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"

namespace zk::test {

// Knob steps with round multipliers.
constexpr int16_t StepGain2 = 8;    // "2.5" -> 2
constexpr int16_t StepGain10 = 36;  // "10"
constexpr int16_t StepGain40 = 63;  // "40"

class MeterTest : public ::testing::Test {
 protected:
  MeterTest() {
    table.Init_SensTable();
    engine.SetRecordSink(&t.recorder);
    alerts.Connect_Timers();
    counters.Connect_Timers();
  }

  // One live reading the way the receive path runs it; the needle drawn.
  int32_t Feed(int32_t raw) {
    t.state.RawReading = raw;
    engine.Process_Sample();
    engine.Update_Needle();
    return t.view.lastNeedle;
  }

  // A reading that has been steady for a while: the smoothing and the body-motion
  // history already hold it, so the needle follows it exactly.
  int32_t Hold(int32_t raw) {
    t.state.FilterHistory.fill(raw);
    t.state.MotionHistory.fill(raw);
    return Feed(raw);
  }

  // Puts the engine in a settled state: a dial, a gain and a reference, no reset pending.
  void Settle(int32_t dial, int16_t step, int32_t reference, int32_t lastNeedle = 0) {
    t.settings.DialType = dial;
    t.settings.SensitivityIndex = step;
    t.state.LastSensitivityIndex = step;
    t.state.NeedleReference = reference;
    t.state.LastNeedle = lastNeedle;
    t.state.ResetPending = false;
  }

  TestContext t;
  SensitivityTable table;
  MeterEngine engine{t.ctx, table};
  Alerts alerts{t.ctx};
  Counters counters{t.ctx};
};

}  // namespace zk::test
