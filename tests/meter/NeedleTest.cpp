// The needle on the four dials, SET requests and the automatic re-SET.
#include <stdexcept>

#include "MeterFixture.h"
#include "base/Numbers.h"

namespace zk::test {
namespace {

using NeedleTest = MeterTest;

TEST_F(NeedleTest, ResetPutsTheNeedleOnTheSetMark) {
  for (auto [dial, expected] :
       {std::pair{DialCircular1, 0}, {DialTraditional, -2503}, {DialContinuous, -2503}, {DialCircular2, 0}}) {
    SCOPED_TRACE(dial);
    Settle(dial, StepGain10, 0, 1234);
    t.state.ResetPending = true;
    EXPECT_EQ(engine.Calc_Needle(25000), expected);
    EXPECT_EQ(t.state.NeedleReference, 25000);
    EXPECT_EQ(t.state.LastNeedle, expected);
  }
}

TEST_F(NeedleTest, TraditionalScaleAndCap) {
  Settle(DialTraditional, StepGain10, 20000);
  EXPECT_EQ(engine.Calc_Needle(19000), 7497);
  EXPECT_FALSE(t.tmrFall.Enabled());
  EXPECT_EQ(engine.Calc_Needle(18000), 10500);
  EXPECT_TRUE(t.tmrFall.Enabled());
  EXPECT_EQ(engine.Calc_Needle(17000), 10500);
  EXPECT_EQ(t.tmrFall.starts, 1);  // started once, not restarted while it runs
  EXPECT_EQ(engine.Calc_Needle(22000), -10500);
  EXPECT_TRUE(t.tmrRise.Enabled());
  EXPECT_EQ(engine.Calc_Needle(20000), -2503);
  EXPECT_FALSE(t.tmrFall.Enabled());
  EXPECT_FALSE(t.tmrRise.Enabled());
}

TEST_F(NeedleTest, AboveTheScaleForOneSecondIsSetAgain) {
  Settle(DialTraditional, StepGain10, 20000);
  EXPECT_EQ(Hold(18000), 10500);
  t.clock.Advance(0.99);
  EXPECT_EQ(Hold(18000), 10500);
  t.clock.Advance(0.02);  // tmrFall fires: SET requested
  EXPECT_TRUE(t.state.NeedleSetRequest);
  EXPECT_EQ(Hold(18000), -2503);
  EXPECT_FALSE(t.state.NeedleSetRequest);
  EXPECT_EQ(t.state.NeedleReference, 18000);
  EXPECT_EQ(t.state.LedColor, t.settings.LED_Set_Color);
  t.clock.Advance(0.31);  // tmrLED puts the lamp out
  EXPECT_EQ(t.state.LedColor, t.settings.Dial_Color);
  EXPECT_FALSE(t.tmrLED.Enabled());
}

TEST_F(NeedleTest, BelowTheScaleIsSetAgainAfterPointFourSeconds) {
  Settle(DialTraditional, StepGain10, 20000);
  EXPECT_EQ(Hold(22000), -10500);
  t.clock.Advance(0.41);
  EXPECT_EQ(Hold(22000), -2503);
}

TEST_F(NeedleTest, ReturningWithinTheSecondIsNotSet) {
  Settle(DialTraditional, StepGain10, 20000);
  Hold(18000);
  t.clock.Advance(0.5);
  EXPECT_EQ(Hold(19000), 7497);
  t.clock.Advance(1.0);
  EXPECT_FALSE(t.state.NeedleSetRequest);
  EXPECT_EQ(Hold(19000), 7497);
}

TEST_F(NeedleTest, ContinuousDialJumpsBack) {
  Settle(DialContinuous, StepGain10, 20000);
  EXPECT_EQ(engine.Calc_Needle(18950), 7997);   // w = 7997: no jump yet
  EXPECT_EQ(engine.Calc_Needle(18949), -5993);  // w = 8007: back to about -6000
  EXPECT_EQ(t.state.NeedleReference, 18949 - 349);
  Settle(DialContinuous, StepGain10, 20000);
  EXPECT_EQ(engine.Calc_Needle(20551), 5997);  // w = -8013: to about +6000
  EXPECT_FALSE(t.tmrFall.Enabled());
  EXPECT_FALSE(t.tmrRise.Enabled());
}

TEST_F(NeedleTest, CircularDialWrapsRound) {
  Settle(DialCircular1, StepGain40, 21000);
  EXPECT_EQ(engine.Calc_Needle(20000), -25536);
  EXPECT_EQ(engine.Calc_Needle(22000), 25536);
  Settle(DialCircular2, 1, 0);  // multiplier 1: 65535 apart is one step short of a turn
  EXPECT_EQ(engine.Calc_Needle(65535), 1);
}

TEST_F(NeedleTest, SensitivityChangeKeepsTheNeedleThenScalesByTheNewGain) {
  Settle(DialTraditional, StepGain2, 20000);
  EXPECT_EQ(engine.Calc_Needle(19000), -503);
  t.settings.SensitivityIndex = StepGain10;
  EXPECT_EQ(engine.Calc_Needle(19000), -503);
  EXPECT_EQ(engine.Calc_Needle(18990), -403);

  Settle(DialCircular1, StepGain2, 20000);
  EXPECT_EQ(engine.Calc_Needle(19000), 2000);
  t.settings.SensitivityIndex = StepGain40;
  EXPECT_EQ(engine.Calc_Needle(19000), 2000);
  EXPECT_EQ(engine.Calc_Needle(18999), 2040);
}

TEST_F(NeedleTest, SetRequestWhileFrozen) {
  // Circular dials serve it at once, frozen or not.
  Settle(DialCircular1, StepGain10, 20000, 700);
  t.state.NeedleFrozen = true;
  t.state.NeedleSetRequest = true;
  EXPECT_EQ(engine.Calc_Needle(19000), 0);
  EXPECT_FALSE(t.state.NeedleSetRequest);
  EXPECT_EQ(t.state.NeedleReference, 19000);
  EXPECT_EQ(t.state.LedColor, t.settings.LED_Set_Color);

  // The traditional dial keeps the request until the freeze ends.
  Settle(DialTraditional, StepGain10, 20000, 700);
  t.state.NeedleFrozen = true;
  t.state.NeedleSetRequest = true;
  EXPECT_EQ(engine.Calc_Needle(19000), 700);
  EXPECT_TRUE(t.state.NeedleSetRequest);
  t.state.NeedleFrozen = false;
  EXPECT_EQ(engine.Calc_Needle(19000), -2503);
  EXPECT_FALSE(t.state.NeedleSetRequest);
}

TEST_F(NeedleTest, SetRequestSurvivesTheEndOfBodyMotion) {
  // Frozen by body motion on the traditional dial, the user asks for SET: the end of the
  // body motion re-reads the base, and the SET is still served afterwards.
  t.settings.DialType = DialTraditional;
  t.settings.FreezeEnable = true;
  alerts.mnuSettingsBodyMotionThreshold_Click(3);
  t.state.ResetPending = true;
  Feed(30000);
  const int32_t moved = Feed(29900);
  ASSERT_NE(moved, -2503);
  Feed(30500);  // a sharp bend: frozen
  ASSERT_TRUE(t.state.NeedleFrozen);
  t.state.NeedleSetRequest = true;
  EXPECT_EQ(Feed(30500), moved);
  EXPECT_TRUE(t.state.NeedleSetRequest);
  t.clock.Advance(0.6);
  EXPECT_EQ(Feed(30500), -2503);
  EXPECT_FALSE(t.state.NeedleFrozen);
  EXPECT_FALSE(t.state.NeedleSetRequest);
}

TEST_F(NeedleTest, SetMovesTheTraditionalBase) {
  Settle(DialTraditional, StepGain10, 40000);
  t.state.RawReading = 40000;
  t.state.FilteredReading = 40000;
  t.state.NeedleSetRequest = true;
  engine.Update_Needle();
  EXPECT_EQ(t.view.lastNeedle, -2503);
  EXPECT_EQ(t.state.BaseText, "4.15");
}

TEST_F(NeedleTest, NeedleSourcesAndRecording) {
  Settle(DialCircular1, StepGain10, 20000);
  t.state.FilteredReading = 19990;
  engine.Update_Needle();
  EXPECT_EQ(t.view.lastNeedle, 100);

  t.state.SyncTestActive = true;
  t.state.SyncValue = -9000;
  engine.Update_Needle();
  EXPECT_EQ(t.view.lastNeedle, -9000);
  t.state.SyncTestActive = false;

  t.state.OperatingMode = ModePlayback;
  t.state.WorkRecord.Needle = -1234;
  t.state.FilteredReading = 0;
  engine.Update_Needle();
  EXPECT_EQ(t.view.lastNeedle, -1234);
  EXPECT_EQ(t.state.LastNeedle, 100);  // the engine did not run

  // A pending reset redraws the panel before the needle; live, nothing is recorded.
  t.state.OperatingMode = ModeLive;
  t.state.ResetPending = true;
  engine.Update_Needle();
  EXPECT_EQ(t.view.drawPanel, 1);
  EXPECT_EQ(t.view.needle, 4);
  EXPECT_TRUE(t.recorder.samples.empty());
  EXPECT_FALSE(t.state.ResetPending);

  t.state.OperatingMode = ModeRecording;
  t.state.ResetPending = true;
  t.state.SyncTestActive = true;
  t.state.SyncValue = -32768;
  t.state.RecSampleKind = 'P';
  engine.Update_Needle();
  EXPECT_EQ(t.recorder.samples, std::vector<int16_t>{-32768});
  EXPECT_EQ(t.recorder.kinds, std::vector<uint8_t>{'P'});
  EXPECT_FALSE(t.state.ResetPending);
  t.state.SyncTestActive = false;

  // A needle beyond 16 bits (a frozen needle left out of range) is drawn but cannot be
  // recorded: the step fails and nothing is stored.
  Settle(DialTraditional, StepGain10, 20000, 40000);
  t.state.NeedleFrozen = true;
  EXPECT_THROW(engine.Update_Needle(), OverflowError);
  EXPECT_EQ(t.view.lastNeedle, 40000);
  EXPECT_EQ(t.recorder.samples.size(), 1u);
}

// A step that fails, in the drawing or in the recording, keeps the reset pending so that
// the next reading starts again from a full redraw; a needle not drawn is not recorded.
TEST_F(NeedleTest, AFailedStepKeepsTheResetPending) {
  struct FailingSink : RecordSink {
    void Record_Sample(int16_t, uint8_t) override { throw std::runtime_error("disk full"); }
  } failingSink;
  engine.SetRecordSink(&failingSink);
  t.state.OperatingMode = ModeRecording;
  t.state.ResetPending = true;
  EXPECT_THROW(engine.Update_Needle(), std::runtime_error);
  EXPECT_TRUE(t.state.ResetPending);

  struct FailingView : RecordingView {
    using RecordingView::RecordingView;
    void Draw_Needle(int32_t) override { throw std::overflow_error("needle"); }
  } failingView{t.state};
  Context ctx{t.settings,  t.state,    t.clock, t.events, t.prompts, t.ctx.timers,
              failingView, t.controls, t.shell, t.audio,  "/tmp"};
  MeterEngine failing(ctx, table);
  failing.SetRecordSink(&t.recorder);
  EXPECT_THROW(failing.Update_Needle(), std::overflow_error);
  EXPECT_TRUE(t.state.ResetPending);
  EXPECT_TRUE(t.recorder.samples.empty());
}

}  // namespace
}  // namespace zk::test
