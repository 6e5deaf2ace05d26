#include <gtest/gtest.h>

#include "Fakes.h"
#include "TestFiles.h"
#include "recording/RecordLoader.h"
#include "sound/AudioFactory.h"
#include "sound/SoundFile.h"
#include "zkd/RecordFile.h"
#include "zkd/RecordReader.h"

namespace zk {
namespace {

using test::TempFolder;

class NoProgress : public LoadProgress {
 public:
  int shown = 0;
  void Begin() override {}
  void Show(int) override { ++shown; }
};

class LoadFile : public ::testing::Test {
 protected:
  void SetUp() override {
    tc.state.DummyAudioPath = dir / "dummy.mp3";
    test::WriteBytes(tc.state.DummyAudioPath, {1, 2, 3});  // the fake device never reads it
  }
  void Save(const std::string& name, int records, std::optional<RecordHeader> header = std::nullopt) {
    ASSERT_FALSE(WriteRecordFile(dir / (name + ".zkd"), test::Readings(records), records, header));
  }
  bool Load(const std::string& name) { return Load_File(tc.ctx, dir / name, progress); }
  std::string LastText() const { return tc.prompts.shown.empty() ? "" : tc.prompts.shown.back().text; }

  TempFolder dir;
  test::TestContext tc;
  NoProgress progress;
};

TEST_F(LoadFile, LoadsRecordsAndOpensTheWav) {
  Save("rec", 200, RecordHeader{1, 1, 45296, 9839});
  test::WriteBytes(dir / "rec.wav", {1});
  tc.state.RecordCount = 3;
  ASSERT_TRUE(Load("rec"));
  EXPECT_TRUE(tc.prompts.shown.empty());
  EXPECT_EQ(tc.state.RecordCount, 200);
  EXPECT_EQ(tc.state.RecordBuffer.size(), 201u);
  EXPECT_EQ(tc.state.TotalTimeMs, 199 * 20);
  EXPECT_EQ(tc.state.RangeStartIndex, 1);
  EXPECT_EQ(tc.state.RangeEndIndex, 200);
  EXPECT_EQ(tc.state.RecordStartSeconds, 45296);
  EXPECT_EQ(tc.state.RecordStartDay, 9839);
  EXPECT_EQ(tc.state.RecordDate, 36525 + 9839);
  EXPECT_EQ(tc.state.AudioKind, 2);
  EXPECT_EQ(tc.state.PlayUnitsPerSecond, 44100);  // the fake answers 22050 Hz, 16 bits, mono
  EXPECT_EQ(tc.audio.calls.front(), "close");
  EXPECT_EQ(tc.audio.calls.back(), "open wav " + dir / "rec.wav");
  EXPECT_EQ(tc.controls.Get("lblLoadedFile", -1).caption, "Loading......");
  EXPECT_EQ(tc.controls.Get("lblLoadedFile", -1).toolTip, dir / "rec");
  EXPECT_EQ(progress.shown, 50);
  EXPECT_GE(tc.events.calls, 50);  // the window gets its events while the bar grows
}

TEST_F(LoadFile, ALoadWaitsForNothing) {
  Save("rec", 200);
  test::WriteBytes(dir / "rec.wav", {1});
  const double before = tc.clock.now;
  ASSERT_TRUE(Load("rec"));
  EXPECT_EQ(progress.shown, 50);
  // Fifty steps of the bar, each handling the window's events, and no time slept between.
  EXPECT_EQ(tc.clock.now, before);
}

TEST_F(LoadFile, PicksTheAudioTrack) {
  Save("rec", 60);
  test::WriteBytes(dir / "rec.wav", {});  // an empty .wav does not count
  test::WriteBytes(dir / "rec.mp3", {1});
  ASSERT_TRUE(Load("rec"));
  EXPECT_EQ(tc.audio.calls.back(), "open mp3 " + dir / "rec.mp3");
  EXPECT_EQ(tc.state.AudioKind, 1);
  EXPECT_EQ(tc.state.PlayUnitsPerSecond, 1000);
  EXPECT_EQ(tc.state.RecordStartSeconds, 0);
  EXPECT_EQ(tc.state.RecordDate, 36525);

  // Audio off plays against the silent track even though the recording has sound.
  tc.settings.AudioEnable = false;
  test::WriteBytes(dir / "rec.wav", {1});
  ASSERT_TRUE(Load("rec"));
  EXPECT_EQ(tc.audio.calls.back(), "open silent " + tc.state.DummyAudioPath);
  EXPECT_EQ(tc.state.PlayUnitsPerSecond, 1000);
}

TEST_F(LoadFile, RefusesWithTheMessages) {
  EXPECT_FALSE(Load("absent"));
  EXPECT_EQ(LastText(), dir / "absent.zkd");
  EXPECT_EQ(tc.prompts.shown.back().title, "File Not Found");
  EXPECT_EQ(tc.prompts.shown.back().icon, MsgIcon::Warning);

  Save("quiet", 60);
  EXPECT_FALSE(Load("quiet"));
  EXPECT_EQ(LastText(), AudioMissingText);

  tc.settings.AudioEnable = false;
  std::filesystem::remove(tc.state.DummyAudioPath);
  EXPECT_FALSE(Load("quiet"));
  EXPECT_EQ(LastText(), DummyMissingText);
  EXPECT_EQ(tc.prompts.shown.back().title, "File Not Found");
}

TEST_F(LoadFile, WrongFormatLoadsNothingAndClosesTheTrack) {
  tc.settings.AudioEnable = false;
  auto bytes = std::vector<uint8_t>(200, 0);
  for (int k = 1; k <= 10; ++k) bytes[k * 20 - 1] = 'P';
  bytes[3 * 20 - 1] = 'x';
  test::WriteBytes(dir / "old.zkd", bytes);
  tc.state.RecordCount = 42;
  EXPECT_FALSE(Load("old"));
  EXPECT_EQ(LastText(), BadFormatText);
  EXPECT_EQ(tc.prompts.shown.back().title, "Incompatible file format");
  EXPECT_EQ(tc.audio.calls.back(), "close");
  EXPECT_EQ(tc.state.RecordCount, 42);

  // Fewer than five records: refused the same way.
  Save("short", 4);
  EXPECT_FALSE(Load("short"));
  EXPECT_EQ(LastText(), BadFormatText);

  // Five records (less than one progress step) load, with a full bar.
  Save("five", 5);
  progress.shown = 0;
  EXPECT_TRUE(Load("five"));
  EXPECT_EQ(tc.state.RecordCount, 5);
  EXPECT_EQ(progress.shown, 5);
}

TEST_F(LoadFile, TooManyRecordsOrAFolderAreRefusedWithTheirReason) {
  tc.settings.AudioEnable = false;
  Save("huge", 5);
  std::filesystem::resize_file(dir / "huge.zkd", uint64_t{1} << 31);  // sparse
  tc.state.RecordCount = 42;
  EXPECT_FALSE(Load("huge"));
  EXPECT_EQ(LastText(), TooManyRecordsText((uint64_t{1} << 31) / 20));
  EXPECT_EQ(tc.prompts.shown.back().icon, MsgIcon::Warning);
  EXPECT_EQ(tc.audio.calls.back(), "close");
  EXPECT_EQ(tc.state.RecordCount, 42);

  std::filesystem::create_directory(dir / "folder.zkd");
  EXPECT_FALSE(Load("folder"));
  EXPECT_EQ(tc.prompts.shown.back().title, "File Not Found");
}

TEST_F(LoadFile, AudioTrackThatCannotBeOpenedIsReported) {
  Save("rec", 60);
  test::WriteBytes(dir / "rec.wav", {1});
  tc.audio.result = 2;
  EXPECT_FALSE(Load("rec"));
  EXPECT_EQ(LastText().rfind("The wav file could not be loaded for the following reason(s): \n2: '", 0), 0u)
      << LastText();
  EXPECT_EQ(tc.audio.calls.back(), "close");
}

TEST_F(LoadFile, WavFormatGivesPositionUnits) {
  auto device = MakeNullAudioDevice(tc.clock);
  Context ctx{tc.settings, tc.state,    tc.clock, tc.events, tc.prompts, tc.ctx.timers,
              tc.view,     tc.controls, tc.shell, *device,   "/tmp"};
  Save("stereo", 60);
  PcmSamples samples(44100 * 2, 100);  // one second, 44.1 kHz stereo
  ASSERT_FALSE(SaveWavFile(dir / "stereo.wav", samples, PcmFormat{44100, 2}));
  ASSERT_TRUE(Load_File(ctx, dir / "stereo", progress));
  EXPECT_EQ(tc.state.PlayUnitsPerSecond, 176400);
  EXPECT_EQ(tc.state.AudioLength, 176400);
  EXPECT_EQ(tc.state.AudioSamplesPerSec, 44100);
  EXPECT_EQ(tc.state.AudioChannels, 2);
  EXPECT_EQ(tc.state.AudioBitsPerSample, 16);
  EXPECT_EQ(tc.state.MciResult, 0);

  // A WAV cut short loads, and says so.
  Save("short", 60);
  ASSERT_FALSE(SaveWavFile(dir / "short.wav", samples, PcmFormat{44100, 2}));
  std::filesystem::resize_file(dir / "short.wav", 44 + 44100 * 2);
  tc.prompts.shown.clear();
  ASSERT_TRUE(Load_File(ctx, dir / "short", progress));
  ASSERT_EQ(tc.prompts.shown.size(), 1u);
  EXPECT_EQ(tc.prompts.shown[0].title, "Sound Cut Short");
  EXPECT_EQ(LastText().rfind("The sound of this recording is cut short: the header claims 176400 bytes", 0), 0u)
      << LastText();

  // Something that is no sound file at all is refused rather than played without a clock.
  test::WriteBytes(dir / "bad.wav", {'n', 'o', 't', ' ', 'w', 'a', 'v'});
  Save("bad", 60);
  EXPECT_FALSE(Load_File(ctx, dir / "bad", progress));
  EXPECT_NE(LastText().find("The wav file could not be loaded"), std::string::npos);
}

}  // namespace
}  // namespace zk
