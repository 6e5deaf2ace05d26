// The recorder on virtual time: records and their times, the start and the stop on a whole
// second with the clock-driven sound device, the waits that must end, and the guard before
// the commands that replace the recording in memory.
#include "recording/Recorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "SessionRig.h"
#include "TestFiles.h"
#include "base/RecordingCodes.h"

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
  // A record whose last message is message `count` of the recording, read when the sound
  // was at `soundMs` of the recording (after the pre-roll second).
  int32_t TimeOf(int32_t count, double soundMs) {
    st.RecSampleCount = count;
    st.AudioPosition = static_cast<int32_t>(std::lround((soundMs + 1000) * 44.1));
    rig.recorder.Record_Sample(0, 'P');
    return st.RecordBuffer[static_cast<std::size_t>(st.RecordCount)].TimeMs;
  }
};

TEST_F(RecordSample, TimeWithSoundIsWhereTheSoundWasOnTheSensorsGrid) {
  EXPECT_EQ(TimeOf(1, 13), 13);    // the first record: where the sound was
  EXPECT_EQ(TimeOf(2, 37), 33);    // read 4 ms late: 20 ms after its predecessor
  EXPECT_EQ(TimeOf(5, 95), 94);    // a burst of three more: the time of its last
  EXPECT_EQ(TimeOf(6, 110), 110);  // read earlier than the grid says: the sound wins
  EXPECT_EQ(TimeOf(7, 129), 129);
  // Read very late (the window was busy): never further before the sound than a late read.
  EXPECT_EQ(TimeOf(8, 300), 300 - 40);
  EXPECT_EQ(st.TotalTimeMs, 260);
  EXPECT_EQ(st.RecordCount, 6);
  EXPECT_EQ(st.RecordIndex, 7);
}

TEST_F(RecordSample, TimeWithSoundNeverGoesBack) {
  EXPECT_EQ(TimeOf(1, 0), 0);
  EXPECT_EQ(TimeOf(2, 20), 20);
  EXPECT_EQ(TimeOf(3, 25), 25);  // the sound says the sensor ran fast: later records hold
  EXPECT_EQ(TimeOf(4, 26), 26);
  EXPECT_EQ(TimeOf(5, -5), 26);  // a position that went back moves nothing back
  EXPECT_EQ(TimeOf(6, -10), 26);
}

TEST_F(RecordSample, TimeWithoutSoundCountsTheMessages) {
  rig.settings.AudioEnable = false;
  EXPECT_EQ(TimeOf(1, 500), 20);      // the count is raised before the record is written
  EXPECT_EQ(TimeOf(4, 500), 80);      // a burst of three more messages
  EXPECT_EQ(TimeOf(51, 7000), 1020);  // the sound plays no part
}

// The sound input breaking down shows on the banner with the next record, once; without
// sound asked for there is nothing to say.
TEST_F(RecordSample, ALostSoundInputShowsOnTheBannerOnce) {
  TimeOf(1, 0);
  const int before = rig.view.mode;
  rig.fake.inputLost = true;
  TimeOf(2, 20);
  EXPECT_TRUE(st.SoundInputLost);
  EXPECT_EQ(rig.view.mode, before + 1);
  TimeOf(3, 40);
  EXPECT_EQ(rig.view.mode, before + 1);

  st.SoundInputLost = false;
  rig.settings.AudioEnable = false;
  TimeOf(4, 60);
  EXPECT_FALSE(st.SoundInputLost);
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
  st.WorkRecord.Header16 = 9;  // left over from a record the player showed
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
  // The first record lies where the sound was when its message came, 21 ms after the
  // pre-roll, like every other (read at most 5 ms late).
  EXPECT_GE(st.RecordBuffer[1].TimeMs, 21);
  EXPECT_LE(st.RecordBuffer[1].TimeMs, 26);
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
  // The readings end with the sound's last whole second.
  EXPECT_GE(st.TotalTimeMs, 2960);
  EXPECT_LT(st.TotalTimeMs, 3000);
  EXPECT_EQ(st.AudioLength, length);
  int32_t position = -1;
  rig.ctx.audio.Position(position);
  EXPECT_EQ(position, 0);

  // Times rise by 20 ms a message; the raw values are the sensor's, in order.
  for (int k = 2; k <= st.RecordCount; ++k) {
    const int32_t step = st.RecordBuffer[k].TimeMs - st.RecordBuffer[k - 1].TimeMs;
    ASSERT_EQ(step, 20) << k;
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
// The time base: sound handed over in blocks, as sound servers do

// A recording whose sound input hands its sound over in blocks of `blockMs`, from a sensor
// whose reading counts its messages, so that every record traces back to the moment its
// message was sent and to the sound of that moment.
struct BlockRecording {
  explicit BlockRecording(int blockMs = 150, int leadMs = 0)
      : rig(false, SoundSampleRate * blockMs / 1000, SoundSampleRate * leadMs / 1000) {
    rig.settings.SavePath = dir.str() + "/";
  }
  TempFolder dir;
  SessionRig rig;
  SessionState& st = rig.state;
  std::vector<double> sent;  // the clock time of each message
  double recordAt = 0;       // the sound starts here

  // Message i reads 20000 + i, sent at `at` seconds from now.
  void Send(double at) {
    char msg[16];
    std::snprintf(msg, sizeof msg, "P%04X\r", 20000u + static_cast<unsigned>(sent.size()));
    rig.port.Arrive(msg, at);
    sent.push_back(rig.clock.now + at);
  }
  void Record(double seconds) {
    recordAt = rig.clock.now;
    rig.recorder.cmdRecord_Click();
    rig.Run(seconds);
    rig.Stop();
  }
  // How much later than the sound of its message each record lies (ms); checks that no
  // record's time is below its predecessor's.
  std::vector<double> Offsets() {
    std::vector<double> out;
    for (int k = 1; k <= st.RecordCount; ++k) {
      const SampleRecord& r = st.RecordBuffer[static_cast<std::size_t>(k)];
      const auto i = static_cast<std::size_t>(r.RawReading() - 20000);
      EXPECT_LT(i, sent.size());
      if (i >= sent.size()) break;
      out.push_back(r.TimeMs - ((sent[i] - recordAt) * 1000 - 1000));
      if (k > 1) {
        EXPECT_GE(r.TimeMs, st.RecordBuffer[static_cast<std::size_t>(k - 1)].TimeMs) << k;
      }
    }
    return out;
  }
};

TEST(TimeBase, EveryRecordLiesWithItsSoundWithBlocksOf150And20Ms) {
  for (int blockMs : {150, 20}) {
    BlockRecording t(blockMs);
    for (int i = 0; i < 600; ++i) t.Send(i * 0.02 + 0.0013);
    t.Record(9.4);
    const std::vector<double> off = t.Offsets();
    ASSERT_GE(off.size(), 400u) << blockMs;
    double sum = 0;
    for (double o : off) {
      EXPECT_LE(std::abs(o), 6.0) << blockMs;  // sent, read within 5 ms, and drawn
      sum += o;
    }
    EXPECT_LE(std::abs(sum / static_cast<double>(off.size())), 4.0) << blockMs;
  }
}

// The sensor's seconds hold 48, 50, 52 and 53 messages: the records never go back and
// stay with their sound.
TEST(TimeBase, SecondsOf48To53MessagesNeverGoBack) {
  BlockRecording t;
  const int counts[] = {48, 50, 52, 53};
  for (int second = 0; second < 10; ++second) {
    const int n = counts[second % 4];
    for (int m = 0; m < n; ++m) t.Send(second + 0.0013 + static_cast<double>(m) / n);
  }
  t.Record(8.4);
  const std::vector<double> off = t.Offsets();
  ASSERT_GE(off.size(), 350u);
  for (double o : off) EXPECT_LE(std::abs(o), 45.0);
}

TEST(TimeBase, FirstRecordLiesWithItsSoundLikeEveryOther) {
  BlockRecording t;
  for (int i = 0; i < 200; ++i) t.Send(i * 0.02 + 0.0007);
  t.Record(1.2);
  const std::vector<double> off = t.Offsets();
  ASSERT_FALSE(off.empty());
  EXPECT_LE(std::abs(off[0]), 6.0);
  // The pre-roll ends when the sound of the present moment is a second old, not when the
  // block holding that moment arrives (up to 150 ms later).
  EXPECT_LE(t.st.RecordBuffer[1].TimeMs, 25);
}

// A server that hands over 1.3 s of sound with its first block (sound it had waiting): the
// pre-roll still ends a second of capture after the start, the first second holds its 50
// records, and every record lies with its sound.
TEST(TimeBase, SoundWaitingAtTheStartIsNoPartOfThePreRoll) {
  BlockRecording t(20, 1300);
  for (int i = 0; i < 300; ++i) t.Send(i * 0.02 + 0.0013);
  t.Record(3.4);
  ASSERT_GT(t.st.RecordCount, 100);
  EXPECT_LE(t.st.RecordBuffer[1].TimeMs, 25);
  int firstSecond = 0;
  for (int k = 1; k <= t.st.RecordCount; ++k)
    firstSecond += t.st.RecordBuffer[static_cast<std::size_t>(k)].TimeMs < 1000;
  EXPECT_GE(firstSecond, 49);
  for (double o : t.Offsets()) EXPECT_LE(std::abs(o), 6.0);
  int32_t length = 0;
  ASSERT_EQ(t.rig.ctx.audio.Length(length), 0);
  EXPECT_EQ(length, 4 * SoundBytesPerSecond);  // the records' four seconds, no more
}

TEST(TimeBase, StopEndsOnAWholeSecondWithItsSoundComplete) {
  BlockRecording t;
  for (int i = 0; i < 400; ++i) t.Send(i * 0.02 + 0.0013);
  t.Record(2.3);
  EXPECT_EQ(t.rig.controls.Caption("lblTotalTime"), "00:03");
  EXPECT_GE(t.st.TotalTimeMs, 2960);
  EXPECT_LT(t.st.TotalTimeMs, 3000);  // no record past the last whole second
  int32_t length = 0;
  ASSERT_EQ(t.rig.ctx.audio.Length(length), 0);
  EXPECT_EQ(length, 3 * SoundBytesPerSecond);  // its sound arrived in full, and ends with the records
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
