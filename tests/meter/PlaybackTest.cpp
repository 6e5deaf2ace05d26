// The playback path: the display state comes back from each recorded sample.
#include "MeterFixture.h"

namespace zk::test {
namespace {

class PlaybackTest : public MeterTest {
 protected:
  PlaybackTest() {
    t.state.OperatingMode = ModePlayback;
    t.settings.DialType = DialTraditional;
  }
  static uint8_t Flags(int lamp, bool frozen, bool bd, int dial) {
    return static_cast<uint8_t>(lamp | (frozen ? RecordFlags::Frozen : 0) | (bd ? RecordFlags::BdCount : 0) |
                                (dial << RecordFlags::DialTypeShift));
  }
  void Play(uint8_t flags, uint8_t base, int16_t bd, uint8_t step, int16_t needle = 0) {
    SampleRecord& r = t.state.WorkRecord;
    r = SampleRecord{};
    r.Flags = flags;
    r.BaseStep = base;
    r.BdValue = bd;
    r.Sensitivity = step;
    r.Needle = needle;
    r.Raw = 12345;
    t.state.RawReading = r.RawReading();
    const int panels = t.view.drawPanel;
    engine.Process_Sample();
    dialRedraws += t.view.drawPanel - panels;
    engine.Update_Needle();
  }
  int dialRedraws = 0;  // full redraws for a recorded dial type, not for a pending reset
};

TEST_F(PlaybackTest, FirstSampleRestoresEverything) {
  t.state.ResetPending = true;
  Play(Flags(2, true, true, DialCircular2), 124, 9, 20, -1234);
  EXPECT_EQ(t.settings.DialType, DialCircular2);
  EXPECT_EQ(dialRedraws, 1);
  EXPECT_EQ(t.view.drawPanel, 2);  // and the pending reset's, before the needle
  EXPECT_EQ(t.view.lastNeedle, -1234);
  EXPECT_EQ(t.state.BaseText, "3.5");
  EXPECT_EQ(t.view.lastBase, "3.5");
  EXPECT_EQ(t.state.BdText, "0.9");
  EXPECT_EQ(t.view.lastBd, "0.9");
  EXPECT_TRUE(t.state.BdCountEnabled);
  EXPECT_EQ(t.settings.SensitivityIndex, 20);
  EXPECT_EQ(t.view.knob, 1);
  EXPECT_EQ(t.state.LedColor, t.settings.LED_BM_Color);
  EXPECT_TRUE(t.state.BodyMotionActive);
  EXPECT_TRUE(t.state.NeedleFrozen);
  EXPECT_EQ(t.state.LastPlayFlags, Flags(2, true, true, DialCircular2));
  EXPECT_EQ(t.state.LastNeedle, 0);  // the needle came from the record, not the engine
  EXPECT_FALSE(t.state.ResetPending);
}

TEST_F(PlaybackTest, OnlyChangesAreRedrawn) {
  t.state.ResetPending = true;
  Play(Flags(0, false, false, DialTraditional), 124, 9, 8);
  const int leds = t.view.led, bds = t.view.bd, bases = t.view.base, knobs = t.view.knob;
  Play(Flags(0, false, false, DialTraditional), 124, 9, 8);
  EXPECT_EQ(t.view.led, leds);
  EXPECT_EQ(t.view.bd, bds);
  EXPECT_EQ(t.view.base, bases);
  EXPECT_EQ(t.view.knob, knobs);
  EXPECT_EQ(dialRedraws, 0);

  // Lamp: SET, then lag (body motion untouched), then body motion, then off.
  Play(Flags(1, false, false, DialTraditional), 124, 9, 8);
  EXPECT_EQ(t.state.LedColor, t.settings.LED_Set_Color);
  Play(Flags(3, false, false, DialTraditional), 124, 9, 8);
  EXPECT_EQ(t.state.LedColor, t.settings.LED_Lag_Color);
  EXPECT_FALSE(t.state.BodyMotionActive);
  Play(Flags(2, false, false, DialTraditional), 124, 9, 8);
  EXPECT_TRUE(t.state.BodyMotionActive);
  Play(Flags(0, false, false, DialTraditional), 124, 9, 8);
  EXPECT_EQ(t.state.LedColor, t.settings.Dial_Color);
  EXPECT_FALSE(t.state.BodyMotionActive);

  // BD counting switched on: the digits are redrawn with the same text.
  const int bdBefore = t.view.bd;
  Play(Flags(0, false, true, DialTraditional), 124, 9, 8);
  EXPECT_TRUE(t.state.BdCountEnabled);
  EXPECT_EQ(t.view.bd, bdBefore + 1);
  EXPECT_EQ(t.view.lastBd, "0.9");

  // A new base step with a new BD value.
  Play(Flags(0, false, true, DialTraditional), 130, 25, 8);
  EXPECT_EQ(t.state.BaseText, "3.65");
  EXPECT_EQ(t.state.BdText, "2.5");
  EXPECT_EQ(t.state.LastPlayBase, 130);
}

TEST_F(PlaybackTest, TagMarkerShowsTheRecordedCount) {
  SampleRecord& r = t.state.WorkRecord;
  r.Marker = 'T';
  r.Tag = 513;
  engine.Process_Sample();
  EXPECT_EQ(t.state.TagCount, 513);
  EXPECT_EQ(t.controls.Caption("lblTag"), "513");
}

TEST_F(PlaybackTest, DamagedRecordKeepsTheMeterUsable) {
  t.state.ResetPending = true;
  Play(Flags(0, false, false, 7), 124, 9, 200);
  EXPECT_EQ(t.settings.DialType, DialTraditional);  // there is no dial type 7
  EXPECT_EQ(t.settings.SensitivityIndex, 63);
  EXPECT_EQ(dialRedraws, 0);
}

TEST_F(PlaybackTest, OverrideRunsTheLiveEngine) {
  t.state.PlaybackOverride = true;
  t.state.ResetPending = true;
  t.settings.DialType = DialCircular1;
  t.state.FilterHistory.fill(12345);
  Play(Flags(2, true, true, DialCircular2), 124, 9, 20, -1234);
  EXPECT_EQ(t.settings.DialType, DialCircular1);
  EXPECT_EQ(t.settings.SensitivityIndex, 8);
  EXPECT_FALSE(t.state.NeedleFrozen);
  EXPECT_EQ(t.state.FilteredReading, 12345);
  EXPECT_EQ(t.state.NeedleReference, 12345);
}

}  // namespace
}  // namespace zk::test
