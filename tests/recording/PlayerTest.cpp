// The player on virtual time with the clock-driven sound device: records reach the meter
// when the sound reaches them, and pause, stop, skip, seek and closing arrive as events
// in the middle of the play loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <limits>

#include "PlayerRig.h"
#include "TestFiles.h"
#include "base/RecordingCodes.h"
#include "sound/SoundFile.h"

namespace zk::test {
namespace {

int32_t Percentile(std::vector<int32_t> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * v.size()))];
}

TEST_F(PlayerTest, DeliversEveryRecordOnTimeAndRestoresTheUserValuesAtTheEnd) {
  Load(500);  // ten seconds
  t.settings.SensitivityIndex = 30;
  t.settings.DialType = DialContinuous;
  t.state.BdTotal = 40;
  t.state.BdCountEnabled = false;
  Play();

  // Every record but the last, in order, none dropped.
  std::vector<int32_t> expected;
  for (int k = 1; k <= 499; ++k) expected.push_back(k);
  EXPECT_EQ(view.Indices(), expected);
  std::vector<int32_t> late;
  for (const auto& d : view.drawn) late.push_back(d.lateMs);
  const int32_t p50 = Percentile(late, 0.5), p99 = Percentile(late, 0.99);
  std::cout << "lateness on virtual time: median " << p50 << " ms, p99 " << p99 << " ms\n";
  EXPECT_GE(*std::min_element(late.begin(), late.end()), 0);
  EXPECT_LE(p99, 20);

  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "END"}));
  EXPECT_NE(std::find(view.modeTexts.begin(), view.modeTexts.end(), "Playback"), view.modeTexts.end());
  EXPECT_EQ(t.state.OperatingMode, ModeNone);
  EXPECT_EQ(t.state.PlayState, PlayStopped);
  EXPECT_EQ(SoundMode(), AudioMode::Stopped);
  EXPECT_EQ(gate.holds, 1);
  EXPECT_EQ(gate.releases, 1);
  // The recording's own knob, dial and counter gave way to the user's again.
  EXPECT_EQ(t.settings.SensitivityIndex, 30);
  EXPECT_EQ(t.settings.DialType, DialContinuous);
  EXPECT_EQ(t.state.BdTotal, 40);
  EXPECT_EQ(t.state.BdText, "1.0");
  EXPECT_EQ(t.controls.Caption("lblPlayTime"), "00:00");
  // One second of banner, ten of sound, one of "END".
  EXPECT_NEAR(t.clock.now - t0, 12.0, 0.1);
}

TEST_F(PlayerTest, ASlowDrawDropsRecordsAndLightsTheLagLamp) {
  Load(500);
  At(3.0, [&] { t.clock.Advance(0.3); });  // the window was busy for 300 ms
  Play();
  const auto idx = view.Indices();
  int32_t biggestGap = 0;
  for (std::size_t i = 1; i < idx.size(); ++i) biggestGap = std::max(biggestGap, idx[i] - idx[i - 1]);
  EXPECT_GE(biggestGap, 14);  // about 15 records fell into the 300 ms
  const auto& leds = view.ledColors;
  const auto lit = std::find(leds.begin(), leds.end(), t.settings.LED_Lag_Color);
  ASSERT_NE(lit, leds.end());
  EXPECT_NE(std::find(lit, leds.end(), t.settings.Dial_Color), leds.end());  // and off again
  EXPECT_EQ(idx.back(), 499);
}

// A lag lamp the recording carries stays lit until the recording puts it out: the
// player's own lag lamp does not put out what it did not light.
TEST_F(PlayerTest, ARecordedLagLampShowsForAsLongAsTheRecordingHasIt) {
  std::vector<SampleRecord> records = Readings(500);
  for (int k = 100; k <= 300; ++k) records[k].Flags = static_cast<uint8_t>((records[k].Flags & ~3) | 3);
  Load(records);
  int32_t during = 0, after = 0;
  // One second of banner first: the records of the lag lamp play from 3 s to 7 s.
  At(5.0, [&] { during = t.state.LedColor; });
  At(8.5, [&] { after = t.state.LedColor; });
  Play();
  EXPECT_EQ(during, t.settings.LED_Lag_Color);
  EXPECT_EQ(after, t.settings.LED_Set_Color);
}

TEST_F(PlayerTest, TheEndOfTheRangeStopsOrLoops) {
  Load(500);
  t.state.RangeStartIndex = 51;
  t.state.RangeEndIndex = 100;
  Play();
  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "END"}));
  EXPECT_EQ(view.Indices().front(), 51);
  EXPECT_EQ(view.Indices().back(), 100);

  view.drawn.clear();
  bar.calls.clear();
  player.cmdLoop_Click();
  EXPECT_EQ(t.controls.Get("cmdLoop", -1).picture, "Loop");
  // 1 s banner, 1 s of range, 2 s banner, and a stop during the second pass.
  At(4.5, [&] { transport.cmdStop_Click(); });
  Play();
  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "PLAY", "END"}));
  const auto idx = view.Indices();
  EXPECT_EQ(std::count(idx.begin(), idx.end(), 51), 2);
  EXPECT_LE(*std::max_element(idx.begin(), idx.end()), 100);
}

// After a range played to its end, TIME shows where P plays from again, the range's
// start, even when a reading from the sensor arrives during "END" (the receive path then
// clears the elapsed second).
TEST_F(PlayerTest, TheEndOfTheRangeShowsItsStartTime) {
  Load(500);
  t.state.RangeStartIndex = 51;               // 1.00 s
  t.state.RangeEndIndex = 200;                // 3.98 s
  At(4.5, [&] { t.state.ElapsedSecs = 0; });  // 1 s banner, 3 s of range, then "END"
  Play();
  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "END"}));
  EXPECT_EQ(view.Indices().back(), 200);
  EXPECT_EQ(t.controls.Caption("lblPlayTime"), "00:01");
}

TEST_F(PlayerTest, QuickSkipsAddUpAndResumeOnce) {
  Load(3000);  // one minute: 10 s a skip
  ASSERT_EQ(t.state.SkipSeconds, 10);
  int32_t before = 0;
  At(2.0, [&] {
    before = t.state.RecordIndex;
    player.cmdFwd_Click();
  });
  At(2.2, [&] { player.cmdFwd_Click(); });
  At(2.4, [&] { player.cmdFwd_Click(); });
  AudioMode during = AudioMode::NotReady, after = AudioMode::NotReady;
  int32_t resumedAt = 0;
  At(3.1, [&] { during = SoundMode(); });
  At(3.3, [&] {
    after = SoundMode();
    resumedAt = SoundPosition();
  });
  At(4.0, [&] { transport.cmdStop_Click(); });
  Play();
  EXPECT_EQ(during, AudioMode::Paused);  // silent until 800 ms after the last click
  EXPECT_EQ(after, AudioMode::Playing);
  EXPECT_EQ(t.tmrSkip.starts, 3);
  const int32_t target = before + 3 * 500;
  EXPECT_NEAR(resumedAt, player.Range().Record_Position(target), 120);
  const auto idx = view.Indices();
  EXPECT_NE(std::find(idx.begin(), idx.end(), target), idx.end());
  EXPECT_EQ(std::count_if(idx.begin(), idx.end(), [&](int32_t k) { return k > before + 60 && k < target; }), 0);
}

TEST_F(PlayerTest, SkippingWhilePausedStaysPausedUntilResumed) {
  Load(3000);
  At(2.0, [&] { player.cmdPlay_Click(); });  // pause: "PAUSE" for a second
  int32_t pausedAt = 0;
  At(3.5, [&] {
    pausedAt = t.state.RecordIndex;
    player.cmdFwd_Click();
  });
  bool stillPaused = false;
  At(5.0, [&] { stillPaused = SoundMode() == AudioMode::Paused && t.state.PlayState == PlayPaused; });
  At(5.1, [&] { player.cmdPlay_Click(); });  // resume
  int32_t resumedAt = 0;
  At(5.12, [&] { resumedAt = SoundPosition(); });
  At(6.0, [&] { transport.cmdStop_Click(); });
  Play();
  EXPECT_TRUE(stillPaused);
  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "PAUSE", "END"}));
  EXPECT_NEAR(resumedAt, player.Range().Record_Position(pausedAt + 500), 40);
}

TEST_F(PlayerTest, SkipsStayInsideTheRange) {
  Load(600);
  SessionState& st = t.state;
  st.RangeStartIndex = 100;
  st.RangeEndIndex = 550;
  st.RecordIndex = 400;
  player.cmdFwd_Click();
  EXPECT_EQ(st.RecordIndex, 500);  // past the end: one second before it
  EXPECT_TRUE(st.SeekPending);
  EXPECT_EQ(st.AudioPosition, player.Range().Record_Position(500));
  st.RecordIndex = 300;
  player.cmdRev_Click();
  EXPECT_EQ(st.RecordIndex, 100);  // not before the start

  // A range shorter than a second, an end below its start, an end of 0: always in range.
  st.RangeStartIndex = 100;
  st.RangeEndIndex = 120;
  st.RecordIndex = 110;
  player.cmdFwd_Click();
  EXPECT_EQ(st.RecordIndex, 100);
  st.RangeStartIndex = 300;
  st.RangeEndIndex = 200;
  player.cmdFwd_Click();
  EXPECT_EQ(st.RecordIndex, 300);
  st.RangeStartIndex = 1;
  st.RangeEndIndex = 0;
  st.RecordIndex = 580;
  player.cmdFwd_Click();
  EXPECT_EQ(st.RangeEndIndex, 600);
  EXPECT_EQ(st.RecordIndex, 550);
}

TEST_F(PlayerTest, TheOverrideUsesTheUsersOwnValues) {
  Load(300);
  t.settings.SensitivityIndex = 33;
  At(2.0, [&] {
    EXPECT_NE(t.settings.SensitivityIndex, 33);  // the recording's knob
    player.chkOveride_Click(true);
    EXPECT_EQ(t.settings.SensitivityIndex, 33);
    EXPECT_TRUE(t.controls.Enabled("mnuSettingsBmFreeze"));
    EXPECT_TRUE(t.state.ResetPending);
  });
  At(2.5, [&] {
    t.settings.SensitivityIndex = 40;  // the user turns the knob
    transport.cmdStop_Click();
  });
  Play();
  EXPECT_EQ(t.settings.SensitivityIndex, 40);  // kept: the override left it to the user
  player.chkOveride_Click(false);
  EXPECT_FALSE(t.state.PlaybackOverride);
  EXPECT_FALSE(t.controls.Enabled("mnuSettingsBmFreeze"));
}

TEST_F(PlayerTest, ClosingEndsTheLoopWithoutDrawing) {
  Load(3000);
  t.settings.SensitivityIndex = 30;
  std::size_t drawnAtClose = 0;
  At(3.0, [&] {
    player.Shut_Down();
    drawnAtClose = view.drawn.size();
  });
  Play();
  EXPECT_EQ(view.drawn.size(), drawnAtClose);
  EXPECT_EQ(bar.Words(), std::vector<std::string>{"PLAY"});
  EXPECT_EQ(SoundMode(), AudioMode::Stopped);
  EXPECT_EQ(t.state.PlayState, PlayStopped);
  EXPECT_NE(t.state.OperatingMode, ModePlayback);
  EXPECT_EQ(t.settings.SensitivityIndex, 30);  // what the settings file gets is the user's
  EXPECT_LT(t.clock.now - t0, 3.1);
  player.cmdPlay_Click();  // a closing window starts nothing
  EXPECT_EQ(t.state.PlayState, PlayStopped);
}

TEST_F(PlayerTest, ClosingWhilePausedEndsToo) {
  Load(3000);
  At(2.0, [&] { player.cmdPlay_Click(); });
  At(4.0, [&] { player.Shut_Down(); });
  Play();
  EXPECT_LT(t.clock.now - t0, 4.1);
  EXPECT_EQ(t.state.PlayState, PlayStopped);
  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "PAUSE"}));
}

TEST_F(PlayerTest, ClosingDuringTheStartBannerStartsNoSound) {
  Load(3000);
  At(0.5, [&] { player.Shut_Down(); });
  Play();
  EXPECT_LT(t.clock.now - t0, 0.6);
  EXPECT_NE(SoundMode(), AudioMode::Playing);
  EXPECT_TRUE(view.drawn.empty());
}

TEST_F(PlayerTest, ASoundShorterThanItsRecordsEndsThePlaybackAndTellsOnce) {
  TempFolder dir;
  PcmSamples second(22050, 0);
  ASSERT_FALSE(SaveWavFile(dir / "short.wav", second, PcmFormat{22050, 1}));
  Load(500);
  t.state.MciResult = device->OpenWav(dir / "short.wav");
  t.state.PlayUnitsPerSecond = 44100;
  Play();
  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "END"}));
  EXPECT_LE(view.drawn.back().timeMs, 1040);  // one second of sound
  EXPECT_LT(t.clock.now - t0, 3.2);
  Play();
  EXPECT_EQ(notices.size(), 1u);  // no sound output here: said once, not at every play
}

TEST_F(PlayerTest, TimesThatDoNotRiseStillPlayToTheEnd) {
  auto records = Readings(300);
  for (int k = 1; k <= 300; ++k) records[k].TimeMs = (300 - k) * 7;  // running backwards
  Load(records);
  Play();
  EXPECT_EQ(t.state.PlayState, PlayStopped);
  EXPECT_EQ(bar.Words().back(), "END");
  EXPECT_LT(t.clock.now - t0, 5.0);
}

TEST_F(PlayerTest, StopEndsAWaitForARecordFarAhead) {
  auto records = Readings(100);
  for (int k = 50; k <= 100; ++k) records[k].TimeMs = 2000000000;  // hours beyond the sound
  Load(records);
  At(5.0, [&] { transport.cmdStop_Click(); });
  Play();
  EXPECT_EQ(bar.Words().back(), "END");
  EXPECT_LT(t.clock.now - t0, 6.1);
  // Positions of such records stay numbers the device takes, whatever the units.
  t.state.PlayUnitsPerSecond = 176400;
  EXPECT_EQ(player.Range().Record_Position(60), std::numeric_limits<int32_t>::max());
}

// After a playback the readouts show the sensor again from its next reading, even on the
// traditional dial, whose base otherwise moves only at a SET; no drop is counted across the
// playback.
TEST_F(PlayerTest, TheNextLiveReadingAfterPlaybackShowsTheSensorsBase) {
  auto records = Readings(100);
  for (int k = 1; k <= 100; ++k) {
    records[k].BaseStep = 114;  // 3.25
    records[k].Flags = RecordFlags::BdCount;
  }
  Load(records);
  t.settings.CommPort = 1;
  t.settings.DialType = DialTraditional;
  t.state.LastBaseStep = 200;
  t.state.BaseText = MeterEngine::Base_Text(200);
  t.state.BdTotal = 40;
  t.state.BdCountEnabled = true;
  Play();
  ASSERT_EQ(t.state.OperatingMode, ModeLive);
  EXPECT_EQ(view.lastBase, "3.25");

  const int32_t raw = 10000;
  t.state.RawReading = raw;
  engine.Show_Reading();
  const std::string live = MeterEngine::Base_Text(MeterEngine::Base_Step(raw));
  ASSERT_NE(live, "3.25");
  EXPECT_EQ(t.state.BaseText, live);
  EXPECT_EQ(view.lastBase, live);
  EXPECT_EQ(t.state.BdTotal, 40);
  EXPECT_EQ(view.lastBd, "1.0");

  // From then on the traditional dial's base waits for a SET again.
  t.state.RawReading = 50000;
  engine.Show_Reading();
  EXPECT_EQ(t.state.BaseText, live);
}

TEST_F(PlayerTest, LoadedFileShowsNameTimesAndSkipLength) {
  Load(50);
  EXPECT_EQ(t.controls.Caption("lblLoadedFile"), "take001");
  EXPECT_EQ(bar.calls.back(), "box 0..1000 7");
  EXPECT_EQ(t.state.RangeEndX, 1000);
  const std::vector<std::tuple<int32_t, std::string, int>> cases{
      {540000, "09:00", 10}, {1200000, "20:00", 15}, {2700000, "45:00", 30}, {7200000, "2:00:00", 60}};
  for (const auto& [ms, total, skip] : cases) {
    t.state.TotalTimeMs = ms;
    player.Show_Loaded_File("/x/y");
    EXPECT_EQ(t.controls.Caption("lblTotalTime"), total);
    EXPECT_EQ(t.state.SkipSeconds, skip);
  }
}

// A device that claims to play while its position never moves.
TEST(PlayerStall, AStalledSoundDeviceEndsTheWait) {
  TestContext t;
  SensitivityTable table;
  table.Init_SensTable();
  MeterEngine engine{t.ctx, table};
  TransportLog bar;
  CountingGate gate;
  Transport transport{t.ctx, bar};
  Player player{t.ctx, bar, engine, gate, transport};
  t.state.RecordBuffer = Readings(200);
  t.state.RecordCount = 200;
  t.state.RangeStartIndex = 1;
  t.state.RangeEndIndex = 200;
  const double t0 = t.clock.now;
  player.cmdPlay_Click();  // the fake device answers "playing" at position 0 for ever
  EXPECT_EQ(bar.Words().back(), "END");
  EXPECT_LT(t.clock.now - t0, 1.0 + Player::StallSeconds + 1.5);
}

}  // namespace
}  // namespace zk::test
