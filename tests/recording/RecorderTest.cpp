// The recorder on virtual time: records and their times, the start and the stop on a whole
// second with the clock-driven sound device, the waits that must end, and the guard before
// the commands that replace the recording in memory.
#include "recording/Recorder.h"

#include <gtest/gtest.h>

#include "SessionRig.h"
#include "TestFiles.h"
#include "core/RecordingCodes.h"

namespace zk::test {
namespace {

// ---------------------------------------------------------------------------------------
// One record per drawn needle

struct RecordSample : ::testing::Test {
  SessionRig rig{true};
  SessionState& st = rig.state;
  RecordSample() {
    rig.memory.Empty_Buffer();
    st.OperatingMode = ModeRecording;
    st.RecordIndex = 1;
  }
  // A record taken as message `count` of second `second`, after a second of `previous`.
  int32_t TimeOf(int32_t count, int32_t second, int16_t previous) {
    st.RecSampleCount = count;
    st.ElapsedSecs = second;
    st.LastSecondSamples = previous;
    rig.recorder.Record_Sample(0, 'P');
    return st.RecordBuffer[static_cast<std::size_t>(st.RecordCount)].TimeMs;
  }
};

TEST_F(RecordSample, TimeWithSoundIsWholeSecondsPlusTheMessagesWithAnAdjustedFirstMessage) {
  EXPECT_EQ(TimeOf(1, 0, 0), 0);          // the very first record: -10 is not stored
  EXPECT_EQ(TimeOf(1, 3, 48), 2990);      // after a short second the first is earlier
  EXPECT_EQ(TimeOf(1, 3, 52), 3010);      // after a long one later
  EXPECT_EQ(TimeOf(1, 3, 50), 3000);
  EXPECT_EQ(TimeOf(7, 3, 50), 3120);      // later messages are not adjusted
  EXPECT_EQ(st.LastSecondSamples, 7);     // the count of the last record written
  EXPECT_EQ(st.TotalTimeMs, 3120);
  EXPECT_EQ(st.RecordCount, 5);
  EXPECT_EQ(st.RecordIndex, 6);
}

TEST_F(RecordSample, TimeWithoutSoundCountsTheMessages) {
  rig.settings.AudioEnable = false;
  EXPECT_EQ(TimeOf(1, 0, 0), 20);   // the count is raised before the record is written
  EXPECT_EQ(TimeOf(4, 0, 1), 80);   // a burst of three more messages
  EXPECT_EQ(TimeOf(51, 7, 4), 1020);  // seconds of sound play no part
}

TEST_F(RecordSample, BufferGrowsBy3000RecordsKeepingEveryOne) {
  rig.settings.AudioEnable = false;
  std::vector<std::size_t> bounds;
  for (int i = 1; i <= 6500; ++i) {
    st.RecSampleCount = i;
    rig.recorder.Record_Sample(static_cast<int16_t>(i), 'P');
    if (bounds.empty() || bounds.back() != st.RecordBuffer.size() - 1) bounds.push_back(st.RecordBuffer.size() - 1);
  }
  EXPECT_EQ(bounds, (std::vector<std::size_t>{3000, 6001, 9002}));
  ASSERT_EQ(st.RecordCount, 6500);
  for (int k = 1; k <= 6500; ++k) {
    ASSERT_EQ(st.RecordBuffer[k].Needle, static_cast<int16_t>(k)) << k;
    ASSERT_EQ(st.RecordBuffer[k].TimeMs, k * 20) << k;
  }
}

TEST_F(RecordSample, FieldsFlagsAndATagStoredOnce) {
  Settings& s = rig.settings;
  st.RawReading = 40000;  // above 32767: stored as its 16-bit two's complement
  s.SensitivityIndex = 23;
  s.DialType = 2;
  st.LedColor = s.LED_BM_Color;
  st.NeedleFrozen = true;
  st.BdCountEnabled = true;
  st.WorkRecord.BaseStep = 77;  // from the last base computation
  st.WorkRecord.BdValue = 12;
  st.WorkRecord.Header16 = 9;   // left over from a record the player showed
  st.TagCount = 258;
  st.TagChanged = true;
  st.RecSampleCount = 1;
  rig.recorder.Record_Sample(-2503, 'O');
  rig.recorder.Record_Sample(100, 'P');

  const SampleRecord& a = st.RecordBuffer[1];
  EXPECT_EQ(a.Raw, 40000 - 65536);
  EXPECT_EQ(a.RawReading(), 40000);
  EXPECT_EQ(a.Needle, -2503);
  EXPECT_EQ(a.Sensitivity, 23);
  EXPECT_EQ(a.Letter, 'O');
  EXPECT_EQ(a.Flags, 2 | 4 | 8 | 2 * 32);  // body-motion lamp, frozen, BD counting, dial 2
  EXPECT_EQ(a.BaseStep, 77);
  EXPECT_EQ(a.BdValue, 12);
  EXPECT_EQ(a.Header16, 0);
  EXPECT_EQ(a.Marker, 'T');
  EXPECT_EQ(a.Tag, 258);
  EXPECT_FALSE(st.TagChanged);
  const SampleRecord& b = st.RecordBuffer[2];
  EXPECT_EQ(b.Marker, 0);
  EXPECT_EQ(b.Tag, 0);

  // The lamp colours in their order; a colour that is none of them is no lamp.
  const std::pair<int32_t, int> lamps[] = {
      {s.Dial_Color, 0}, {s.LED_Set_Color, 1}, {s.LED_Lag_Color, 3}, {0x123456, 0}};
  for (auto [colour, code] : lamps) {
    st.LedColor = colour;
    rig.recorder.Record_Sample(0, 'P');
    EXPECT_EQ(st.RecordBuffer[static_cast<std::size_t>(st.RecordCount)].Flags & 3, code) << colour;
  }
}

// ---------------------------------------------------------------------------------------
// A live session with the clock-driven sound device

TEST_F(LiveRecording, StartShowsTheWordTheBannerAndTheMarkAndTakesNoReadingInThePreRoll) {
  rig.Sensor(5);
  const double start = rig.clock.now;
  rig.recorder.cmdRecord_Click();

  EXPECT_EQ(st.OperatingMode, ModeRecording);
  EXPECT_GE(rig.clock.now - start, 1.0);  // a whole second of sound before the first reading
  EXPECT_LT(rig.clock.now - start, 1.1);
  EXPECT_EQ(st.RecordCount, 0);
  EXPECT_EQ(rig.bar.calls, (std::vector<std::string>{"word RECORD", "clear", "box 475..525 255"}));
  EXPECT_EQ(st.StatusText, "Recording");
  EXPECT_EQ(rig.controls.Get("lblPlayTime", -1).foreColor, 255);
  EXPECT_EQ(rig.controls.focus, "cmdStop");
  EXPECT_EQ(st.RecordName, "Run_001");
  EXPECT_EQ(rig.controls.Caption("lblLoadedFile"), "Buffer");
  EXPECT_EQ(st.RecordStartSeconds, 36001);  // 10:00:01, after the pre-roll
  EXPECT_EQ(st.RecordStartDay, DateSerial(2026, 12, 8) - DateSerial(1999, 12, 31));
  EXPECT_TRUE(st.ResetPending);
  EXPECT_EQ(rig.port.RThreshold(), 5);
  EXPECT_TRUE(rig.controls.Enabled("picRecord"));
  EXPECT_FALSE(rig.controls.Enabled("mnuRecording"));

  rig.Run(0.5);
  EXPECT_NEAR(st.RecordCount, 25, 1);
  EXPECT_EQ(st.RecordBuffer[1].TimeMs, 0);
}

TEST_F(LiveRecording, StopRunsToTheNextWholeSecondAndCutsThePreRollFromTheSound) {
  rig.Sensor(8, [](int i) { return 20000 + i; });
  Record(2.3);  // stopped 0.3 s into the third second

  EXPECT_EQ(st.OperatingMode, ModeLive);
  EXPECT_EQ(rig.controls.Caption("lblTotalTime"), "00:03");
  EXPECT_EQ(rig.controls.Caption("lblPlayTime"), "00:00");
  EXPECT_EQ(rig.controls.Get("lblPlayTime", -1).foreColor, 0);
  ASSERT_NEAR(st.RecordCount, 150, 2);  // three whole seconds of readings
  int32_t length = 0;
  ASSERT_EQ(rig.ctx.audio.Length(length), 0);
  EXPECT_EQ(length / SoundBytesPerSecond, 3);  // the pre-roll second is gone
  // The readings end with the sound (the first of a second may be put 10 ms later).
  EXPECT_GE(st.TotalTimeMs, 2960);
  EXPECT_LE(st.TotalTimeMs, length * 1000 / SoundBytesPerSecond + 10);
  EXPECT_EQ(st.AudioLength, length);
  int32_t position = -1;
  rig.ctx.audio.Position(position);
  EXPECT_EQ(position, 0);

  // Times rise by 20 ms a message, give or take the 10 ms of a second's first message;
  // the raw values are the sensor's, in order.
  for (int k = 2; k <= st.RecordCount; ++k) {
    const int32_t step = st.RecordBuffer[k].TimeMs - st.RecordBuffer[k - 1].TimeMs;
    ASSERT_TRUE(step == 10 || step == 20 || step == 30) << k << ": " << step;
    ASSERT_EQ(st.RecordBuffer[k].RawReading() - st.RecordBuffer[k - 1].RawReading(), 1) << k;
  }
  // The recording plays as one loaded from disk would.
  EXPECT_TRUE(st.FileLoaded);
  EXPECT_TRUE(st.RecordingUnsaved);  // Auto Name: the user saves
  EXPECT_EQ(st.RangeStartIndex, 1);
  EXPECT_EQ(st.RangeEndIndex, st.RecordCount);
  EXPECT_EQ(st.RangeEndX, 1000);
  EXPECT_EQ(st.SkipSeconds, 10);
  EXPECT_EQ(rig.controls.Get("lblLoadedFile", -1).toolTip, s.SavePath + "Run_001");
  EXPECT_EQ(rig.bar.calls.back(), "box 0..1000 7");  // the tail drew the whole range
}

TEST_F(LiveRecording, WithoutSoundTheStopWaitsForAWholeSecondOfMessages) {
  s.AudioEnable = false;
  rig.Sensor(8);
  Record(1.3);
  EXPECT_EQ(st.RecSampleCount % 50, 0);
  EXPECT_EQ(st.TotalTimeMs, st.RecSampleCount * 20);
  EXPECT_EQ(rig.controls.Caption("lblTotalTime"), "00:0" + std::to_string(st.RecSampleCount / 50));
  EXPECT_EQ(st.AudioKind, AudioCompressed);  // the silent track times a playback
  EXPECT_EQ(st.PlayUnitsPerSecond, 1000);
}

// The input watchdog presses stop when the sensor goes quiet; the stop then waits neither
// for a whole second of messages nor of sound.
TEST_F(LiveRecording, SensorGoingQuietStopsTheRecordingWhichIsKept) {
  for (bool sound : {false, true}) {
    SessionRig r;
    r.settings.AudioEnable = sound;
    r.Sensor(2.4);  // about a second of it goes into the pre-roll; then silence
    const double lastMessage = r.clock.now + 2.4;
    r.recorder.cmdRecord_Click();
    while (r.state.OperatingMode == ModeRecording && r.clock.now < lastMessage + 10) r.Run(0.05);

    EXPECT_EQ(r.state.OperatingMode, ModeLive) << sound;
    EXPECT_LT(r.clock.now - lastMessage, 2.4 + Recorder::StreamSilence + 0.06) << sound;
    EXPECT_EQ(r.shell.stops, 1) << sound;
    EXPECT_EQ(r.state.StatusText, "Input Error") << sound;
    EXPECT_TRUE(r.state.RecordingUnsaved) << sound;
    EXPECT_NEAR(r.state.RecordCount, 70, 3) << sound;
  }
}

TEST_F(LiveRecording, StopEndsWhenTheSoundDeviceStalls) {
  SessionRig fixed(true);  // its position never moves
  fixed.Sensor(10);
  fixed.recorder.cmdRecord_Click();
  double t = fixed.clock.now;
  EXPECT_NEAR(t - 36000.0, Recorder::PreRollLimit, 0.01);  // the pre-roll gave up on the device
  fixed.Run(1);
  fixed.fake.position = 44100 * 2 + 100;
  t = fixed.clock.now;
  fixed.Stop();
  EXPECT_LE(fixed.clock.now - t, Recorder::SoundStall + 0.01);
  EXPECT_EQ(fixed.state.OperatingMode, ModeLive);
  EXPECT_TRUE(fixed.state.FileLoaded);
}

TEST_F(LiveRecording, NothingRecordedLeavesNothingInMemory) {
  s.AudioEnable = false;
  Record(0.5);  // no sensor messages at all
  EXPECT_EQ(st.RecordCount, 0);
  EXPECT_FALSE(st.FileLoaded);
  EXPECT_FALSE(st.RecordingUnsaved);
}

// ---------------------------------------------------------------------------------------
// The guard and the commands that replace the recording in memory

TEST_F(LiveRecording, GuardNoKeepsTheUnsavedRecordingYesDiscardsIt) {
  rig.Sensor(20);
  Record(1);
  const int32_t records = st.RecordCount;
  rig.prompts.answers = {MsgResult::No, MsgResult::No, MsgResult::No, MsgResult::No};
  rig.recorder.cmdRecord_Click();
  rig.saver.mnuRecSettings_Click();
  rig.recorder.mnuRecAudioOff_Click();
  rig.saver.cmdSave_MouseDown(RightMouseButton);
  EXPECT_EQ(rig.Shown(), std::vector<std::string>(4, "Previous recording not saved, Continue?"));
  EXPECT_EQ(rig.prompts.shown[0].title, "Warning");
  EXPECT_EQ(st.OperatingMode, ModeLive);
  EXPECT_EQ(st.RecordCount, records);
  EXPECT_TRUE(st.RecordingUnsaved && s.AudioEnable);
  EXPECT_EQ(rig.setup.shown, 0);

  rig.prompts.answers = {MsgResult::Yes};
  rig.saver.mnuRecSettings_Click();
  EXPECT_EQ(rig.setup.shown, 1);
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_FALSE(st.FileLoaded);
  EXPECT_EQ(st.RecordCount, 0);
  EXPECT_EQ(rig.controls.Caption("lblLoadedFile"), "No File Loaded");

  s.RecPromptEnable = false;  // no warning wanted: no question
  Record(1);
  rig.recorder.cmdRecord_Click();
  EXPECT_EQ(rig.prompts.shown.size(), 5u);
  EXPECT_EQ(st.OperatingMode, ModeRecording);
}

TEST_F(LiveRecording, AudioMenusSwitchTheSoundAndTheirMarks) {
  rig.recorder.mnuRecAudioOff_Click();
  EXPECT_FALSE(s.AudioEnable);
  EXPECT_TRUE(rig.controls.Checked("mnuRecAudioOff"));
  EXPECT_FALSE(rig.controls.Checked("mnuRecAudioOn"));
  EXPECT_TRUE(rig.prompts.shown.empty());  // the silent track is where it belongs
  rig.recorder.mnuRecAudioOn_Click();
  EXPECT_TRUE(s.AudioEnable);
  EXPECT_TRUE(rig.controls.Checked("mnuRecAudioOn"));
}

TEST_F(LiveRecording, RecordKeyDuringThePreRollDoesNotStartASecondRecording) {
  rig.Sensor(5);
  int presses = 0;
  rig.events.also = [&] {
    if (st.OperatingMode == ModeRecording && presses++ == 0) rig.recorder.cmdRecord_Click();
  };
  rig.recorder.cmdRecord_Click();
  rig.Run(1);
  rig.Stop();
  EXPECT_EQ(rig.bar.calls[0], "word RECORD");
  EXPECT_EQ(std::count(rig.bar.calls.begin(), rig.bar.calls.end(), "word RECORD"), 1);
}

}  // namespace
}  // namespace zk::test
