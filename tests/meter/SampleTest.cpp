// Smoothing, body motion, base and BD.
#include "MeterFixture.h"

namespace zk::test {
namespace {

using SampleTest = MeterTest;

TEST_F(SampleTest, FilterWindowGrowsWhenSteadyAndShrinksOnAJump) {
  t.state.ResetPending = true;
  t.state.RawReading = 30000;
  engine.Filter();
  t.state.ResetPending = false;
  EXPECT_EQ(t.state.FilteredReading, 30000);
  EXPECT_EQ(t.state.FilterLength, 4);  // the start value 0 is clamped to 3, then grows
  for (int i = 0; i < 10; ++i) engine.Filter();
  EXPECT_EQ(t.state.FilterLength, 11);  // clamped to 10 at the next call
  engine.Filter();
  EXPECT_EQ(t.state.FilterLength, 11);

  // A jump of 500: the window shrinks by one per sample down to 3 ...
  std::vector<int> lengths;
  for (int i = 0; i < 15; ++i) {
    t.state.RawReading = 30500;
    engine.Filter();
    lengths.push_back(t.state.FilterLength);
  }
  EXPECT_EQ(lengths.front(), 9);
  EXPECT_EQ(lengths[6], 3);
  EXPECT_EQ(lengths.back(), 2);  // held at 3 by the clamp
  // ... and grows back once the jump has left the 16 readings.
  t.state.RawReading = 30500;
  engine.Filter();
  EXPECT_EQ(t.state.FilterLength, 4);
  EXPECT_EQ(t.state.FilteredReading, 30500);
}

TEST_F(SampleTest, FilterAveragesHalfToEven) {
  // Window 4; the new reading goes in front of the three kept ones.
  t.state.FilterLength = 4;
  t.state.FilterHistory = {};
  t.state.FilterHistory[1] = 3;
  t.state.FilterHistory[2] = 3;
  t.state.FilterHistory[3] = 2;
  t.state.RawReading = 3;
  engine.Filter();  // 3, 3, 3, 2 -> 11 / 4 = 2.75 -> 3
  EXPECT_EQ(t.state.FilteredReading, 3);
  t.state.FilterLength = 4;
  t.state.FilterHistory = {};
  t.state.FilterHistory[1] = 3;
  t.state.FilterHistory[2] = 3;
  t.state.FilterHistory[3] = 2;
  t.state.RawReading = 2;
  engine.Filter();  // 2, 3, 3, 2 -> 10 / 4 = 2.5 -> 2
  EXPECT_EQ(t.state.FilteredReading, 2);
  t.state.FilterLength = 4;
  t.state.FilterHistory = {};
  t.state.FilterHistory[1] = 4;
  t.state.FilterHistory[2] = 3;
  t.state.FilterHistory[3] = 3;
  t.state.RawReading = 4;
  engine.Filter();  // 14 / 4 = 3.5 -> 4
  EXPECT_EQ(t.state.FilteredReading, 4);
}

TEST_F(SampleTest, SyncTestBypassesTheFilter) {
  t.state.SyncTestActive = true;
  t.state.FilterLength = 7;
  t.state.RawReading = 16440;
  engine.Process_Sample();
  EXPECT_EQ(t.state.FilteredReading, 16440);
  EXPECT_EQ(t.state.FilterLength, 7);
}

// Raw 1000, 1000, 1100: second difference 100.
void Bend(MeterTest&, SessionState& st) {
  st.ResetPending = false;
  st.MotionHistory = {1000, 1000, 1000};
  st.FilterHistory.fill(1000);
  st.RawReading = 1100;
}

TEST_F(SampleTest, BodyMotionThresholds) {
  for (auto [index, expected] : {std::pair{1, true}, {2, true}, {3, false}}) {
    SCOPED_TRACE(index);
    alerts.mnuSettingsBodyMotionThreshold_Click(index);
    t.state.BodyMotionActive = false;
    t.state.LedColor = 0;
    Bend(*this, t.state);
    engine.Process_Sample();
    EXPECT_EQ(t.state.BodyMotionActive, expected);
    EXPECT_EQ(t.state.LedColor == t.settings.LED_BM_Color, expected);
  }
}

TEST_F(SampleTest, BodyMotionWithoutFreezeLeavesTheNeedleMoving) {
  Settle(DialCircular1, StepGain10, 1100);
  t.settings.FreezeEnable = false;
  Bend(*this, t.state);
  engine.Process_Sample();
  EXPECT_TRUE(t.state.BodyMotionActive);
  EXPECT_FALSE(t.state.NeedleFrozen);
  EXPECT_EQ(engine.Calc_Needle(1000), 1000);
}

TEST_F(SampleTest, FreezeHoldsTheNeedleUntilHalfASecondAfterTheLastBend) {
  Settle(DialCircular1, StepGain10, 1100, 500);
  t.settings.FreezeEnable = true;
  Bend(*this, t.state);
  engine.Process_Sample();
  ASSERT_TRUE(t.state.NeedleFrozen);
  EXPECT_EQ(engine.Calc_Needle(1000), 500);  // stays put, reference follows the reading
  EXPECT_EQ(t.state.NeedleReference, 1000 + 50);

  t.state.MotionHistory = {1100, 1100, 1100};  // steady from here on
  t.clock.Advance(0.5);                        // not yet *later* than the hold
  t.state.RawReading = 1100;
  engine.Process_Sample();
  EXPECT_TRUE(t.state.NeedleFrozen);
  t.clock.Advance(0.01);
  engine.Process_Sample();
  EXPECT_FALSE(t.state.NeedleFrozen);
  EXPECT_FALSE(t.state.BodyMotionActive);
  EXPECT_EQ(t.state.LedColor, t.settings.Dial_Color);
  // The needle continues from where it was held.
  EXPECT_EQ(engine.Calc_Needle(1040), 500 - 40 * 10);
}

TEST_F(SampleTest, BodyMotionEndsAcrossMidnight) {
  t.clock.now = 86399.9;
  Bend(*this, t.state);
  engine.Process_Sample();
  ASSERT_TRUE(t.state.BodyMotionActive);
  t.state.MotionHistory = {1100, 1100, 1100};
  t.clock.now = 1.0;  // the timer restarted at midnight
  engine.Process_Sample();
  EXPECT_FALSE(t.state.BodyMotionActive);
}

TEST_F(SampleTest, BaseStepsAndTexts) {
  EXPECT_EQ(MeterEngine::Base_Step(0), 4);
  EXPECT_EQ(MeterEngine::Base_Step(32768), 124);
  EXPECT_EQ(MeterEngine::Base_Step(65535), 245);
  EXPECT_EQ(MeterEngine::Base_Text(4), "0.5");
  EXPECT_EQ(MeterEngine::Base_Text(124), "3.5");
  EXPECT_EQ(MeterEngine::Base_Text(151), "4.15");
  EXPECT_EQ(MeterEngine::Base_Text(245), "6.5");
  EXPECT_EQ(MeterEngine::Bd_Text(0), "0.0");
  EXPECT_EQ(MeterEngine::Bd_Text(9), "0.9");
  EXPECT_EQ(MeterEngine::Bd_Text(999), "99.9");
  EXPECT_EQ(MeterEngine::Bd_Text(1000), "100");
}

TEST_F(SampleTest, FallingBaseCountsBlowDown) {
  t.settings.DialType = DialCircular1;
  t.state.BdCountEnabled = true;
  t.state.RawReading = 40000;
  engine.Calc_Base();
  EXPECT_EQ(t.state.BaseText, "4.15");
  for (int raw = 39000; raw >= 30000; raw -= 1000) {
    t.state.RawReading = raw;
    engine.Calc_Base();
  }
  EXPECT_EQ(t.state.BdTotal, 37);
  EXPECT_EQ(t.state.BdText, "0.9");
  EXPECT_EQ(t.view.lastBd, "0.9");
  EXPECT_EQ(t.state.BaseText, "3.25");
  EXPECT_EQ(t.view.lastBase, "3.25");
  EXPECT_EQ(t.state.WorkRecord.BaseStep, 114);
  EXPECT_EQ(t.state.WorkRecord.BdValue, 9);

  // Rising never counts.
  t.state.RawReading = 40000;
  engine.Calc_Base();
  EXPECT_EQ(t.state.BdTotal, 37);
  // Nor falling during body motion: and on a circular dial nothing else changes either.
  const int bases = t.view.base;
  t.state.BodyMotionActive = true;
  t.state.RawReading = 30000;
  engine.Calc_Base();
  EXPECT_EQ(t.state.BdTotal, 37);
  EXPECT_EQ(t.view.base, bases);
  EXPECT_EQ(t.state.WorkRecord.BaseStep, 151);
  // Nor with counting off.
  t.state.BodyMotionActive = false;
  t.state.BdCountEnabled = false;
  t.state.RawReading = 20000;
  engine.Calc_Base();
  EXPECT_EQ(t.state.BdTotal, 37);
  EXPECT_NE(t.state.BaseText, "3.25");
}

TEST_F(SampleTest, TraditionalBaseMovesOnlyAtSetUnlessNeedleBdIsOn) {
  t.settings.DialType = DialTraditional;
  t.state.BdCountEnabled = true;
  t.state.RawReading = 65535;
  engine.Calc_Base();
  EXPECT_EQ(t.state.BaseText, "2.0");
  EXPECT_EQ(t.view.base, 0);

  t.state.NeedleSetRequest = true;
  engine.Calc_Base();
  EXPECT_EQ(t.state.BaseText, "6.5");
  t.state.NeedleSetRequest = false;

  t.settings.NeedleBdEnable = true;
  t.state.RawReading = 0;
  engine.Calc_Base();
  EXPECT_EQ(t.state.BaseText, "0.5");
  EXPECT_EQ(t.state.BdTotal, 241);
  // Body motion on the traditional dial: the base moves but nothing counts.
  t.state.BodyMotionActive = true;
  t.state.RawReading = 65535;
  engine.Calc_Base();
  t.state.RawReading = 0;
  engine.Calc_Base();
  EXPECT_EQ(t.state.BdTotal, 241);
  EXPECT_EQ(t.state.BaseText, "0.5");
}

TEST_F(SampleTest, BdTotalHoldsAtItsLimit) {
  t.settings.DialType = DialCircular1;
  t.state.BdCountEnabled = true;
  t.state.BdTotal = 32700;
  t.state.RawReading = 65535;
  engine.Calc_Base();
  t.state.RawReading = 0;
  engine.Calc_Base();
  EXPECT_EQ(t.state.BdTotal, 32767);
  EXPECT_EQ(t.state.BdText, "819");
  EXPECT_EQ(t.state.WorkRecord.BdValue, 8191);
}

}  // namespace
}  // namespace zk::test
