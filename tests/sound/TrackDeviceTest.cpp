#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "Fakes.h"
#include "TestFiles.h"
#include "sound/ClockSound.h"
#include "sound/SoundFile.h"
#include "sound/TrackDevice.h"

namespace zk {
namespace {

using test::TempFolder;
using test::Timeline;

const std::string SilentTrack = std::string(ZK_PROGRAM_FOLDER) + "/dummy.mp3";

// Captures a ramp (sample n has the value n mod 32768) timed by the clock, so that cuts
// and saves can be checked sample by sample. It can be told to break down.
class RampInput : public SoundInput {
 public:
  explicit RampInput(Clock& c) : clock_(c) {}
  bool Real() const override { return true; }
  bool Start(const PcmFormat& fmt, int64_t framesSoFar) override {
    rate_ = fmt.rate;
    start_ = clock_.Timer();
    base_ = framesSoFar;
    given_ = framesSoFar;
    return startOk;
  }
  void Collect(PcmSamples& into) override {
    if (broken) return;
    const int64_t want = base_ + static_cast<int64_t>((clock_.Timer() - start_) * rate_);
    for (; given_ < want; ++given_) into.push_back(static_cast<int16_t>(given_ % 32768));
  }
  void Stop(PcmSamples& into) override {
    Collect(into);
    into.insert(into.end(), static_cast<std::size_t>(backlog), int16_t{-1});
  }
  bool Failed() override { return broken; }
  bool startOk = true, broken = false;
  int64_t backlog = 0;  // frames a stalled server lets go at the stop

 private:
  Clock& clock_;
  double start_ = 0;
  int64_t base_ = 0, given_ = 0;
  int32_t rate_ = 22050;
};

struct Device {
  Timeline clock;
  std::vector<std::string> notices;
  RampInput* ramp = nullptr;
  std::unique_ptr<TrackDevice> dev;
  explicit Device(bool rampInput = false) {
    std::unique_ptr<SoundInput> in;
    if (rampInput) {
      auto r = std::make_unique<RampInput>(clock);
      ramp = r.get();
      in = std::move(r);
    }
    dev = std::make_unique<TrackDevice>(clock, std::move(in), nullptr,
                                        [this](const std::string& t) { notices.push_back(t); });
  }
  int32_t Pos() {
    int32_t p = -1;
    EXPECT_EQ(dev->Position(p), 0);
    return p;
  }
  AudioMode Mode() {
    AudioMode m = AudioMode::NotReady;
    dev->Mode(m);
    return m;
  }
};

TEST(NullDevice, RecordingPositionsAreBytesOfTheRecordingFormat) {
  Device d;
  ASSERT_EQ(d.dev->OpenNewRecording(), 0);
  ASSERT_EQ(d.notices.size(), 1u);  // told once that nothing is captured or played
  EXPECT_EQ(d.Pos(), 0);
  ASSERT_EQ(d.dev->Record(), 0);
  EXPECT_EQ(d.Mode(), AudioMode::Recording);
  d.clock.Advance(0.5);
  EXPECT_EQ(d.Pos(), 22050);
  d.clock.Advance(1.0);
  EXPECT_EQ(d.Pos(), 66150);
  ASSERT_EQ(d.dev->Stop(), 0);
  d.clock.Advance(3.0);
  EXPECT_EQ(d.Pos(), 66150);  // stopped: time no longer counts
  int32_t len = 0, rate = 0, bits = 0, ch = 0;
  d.dev->Length(len);
  d.dev->SamplesPerSec(rate);
  d.dev->BitsPerSample(bits);
  d.dev->Channels(ch);
  EXPECT_EQ(len, 66150);
  EXPECT_EQ(rate, 22050);
  EXPECT_EQ(bits, 16);
  EXPECT_EQ(ch, 1);

  // A second recording on the same device tells nobody again.
  d.dev->OpenNewRecording();
  EXPECT_EQ(d.notices.size(), 1u);
}

TEST(NullDevice, TimerThroughMidnightKeepsCounting) {
  Device d;
  d.clock.now = 86399.5;
  d.dev->OpenNewRecording();
  d.dev->Record();
  d.clock.now = 0.5;  // the timer restarts at midnight
  EXPECT_EQ(d.Pos(), 44100);
}

TEST(NullDevice, SilentTrackIsAnEndlessClockInMilliseconds) {
  Device d;
  ASSERT_EQ(d.dev->OpenSilentTrack(SilentTrack), 0) << SilentTrack;
  EXPECT_TRUE(d.notices.empty());  // the silent track has no sound to miss
  int32_t len = 0;
  d.dev->Length(len);
  EXPECT_EQ(len, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(d.Mode(), AudioMode::Stopped);

  d.dev->SeekTo(5000);
  d.dev->Play();
  d.clock.Advance(2.25);
  EXPECT_EQ(d.Pos(), 7250);
  d.dev->Pause();
  EXPECT_EQ(d.Mode(), AudioMode::Paused);
  d.clock.Advance(10);
  EXPECT_EQ(d.Pos(), 7250);
  d.dev->PlayFrom(7250);
  d.clock.Advance(3 * 3600);  // far past the length of the file itself
  EXPECT_EQ(d.Mode(), AudioMode::Playing);
  EXPECT_EQ(d.Pos(), 7250 + 3 * 3600 * 1000);
  d.dev->Stop();
  EXPECT_EQ(d.Mode(), AudioMode::Stopped);
  EXPECT_STREQ(AudioModeText(AudioMode::Stopped), "stopped");

  d.dev->Close();
  int32_t p = 123;
  EXPECT_NE(d.dev->Position(p), 0);
  EXPECT_EQ(p, 123);  // a failed query leaves the caller's value alone
  EXPECT_EQ(d.Mode(), AudioMode::NotReady);
  EXPECT_NE(d.dev->OpenSilentTrack("/nonexistent/dummy.mp3"), 0);
}

TEST(NullDevice, WavPlaysInBytesUntilItsEnd) {
  TempFolder dir;
  PcmSamples samples(44100 * 2 * 2, 0);  // two seconds of 44.1 kHz stereo
  ASSERT_FALSE(SaveWavFile(dir / "s.wav", samples, PcmFormat{44100, 2}));
  Device d;
  ASSERT_EQ(d.dev->OpenWav(dir / "s.wav"), 0);
  d.dev->PlayFrom(176400 / 2);
  d.clock.Advance(1.0);
  EXPECT_EQ(d.Pos(), 176400 + 88200);
  EXPECT_EQ(d.Mode(), AudioMode::Playing);
  d.clock.Advance(1.0);
  EXPECT_EQ(d.Mode(), AudioMode::Stopped);  // the end of the track stops it
  EXPECT_EQ(d.Pos(), 352800);
}

TEST(RecordedTrack, DeletingThePreRollStartsTheTrackAtTheFirstRecord) {
  Device d(true);
  d.dev->OpenNewRecording();
  EXPECT_TRUE(d.notices.empty());
  d.dev->Record();
  d.clock.Advance(3.0);
  d.dev->Stop();
  d.dev->SeekToStart();
  EXPECT_EQ(d.Pos(), 0);
  ASSERT_EQ(d.dev->DeleteFromStart(44100), 0);
  int32_t len = 0;
  d.dev->Length(len);
  EXPECT_EQ(len, 2 * 44100);

  // Saved and read back, the first sample is the one captured one second in.
  TempFolder dir;
  ASSERT_EQ(d.dev->SaveWav(dir / "r.wav"), 0);
  SF_INFO info{};
  SNDFILE* sf = sf_open((dir / "r.wav").c_str(), SFM_READ, &info);
  ASSERT_NE(sf, nullptr);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  EXPECT_EQ(info.frames, 44100);
  std::vector<short> back(static_cast<std::size_t>(info.frames));
  EXPECT_EQ(sf_readf_short(sf, back.data(), info.frames), info.frames);
  sf_close(sf);
  for (std::size_t i = 0; i < back.size(); ++i)
    if (back[i] != static_cast<short>((22050 + i) % 32768)) FAIL() << "sample " << i;

  // Played back from memory, positions are bytes again.
  d.dev->PlayFrom(44100);
  d.clock.Advance(0.5);
  EXPECT_EQ(d.Pos(), 44100 + 22050);
}

TEST(RecordedTrack, RecordedSoundIsTakenAsItGrowsFromAnyPosition) {
  Device d(true);
  std::vector<int16_t> got;
  EXPECT_NE(d.dev->RecordedSound(0, got), 0) << "nothing recorded yet";
  d.dev->OpenNewRecording();
  d.dev->Record();
  d.clock.Advance(1.5);
  // From the end of the pre-roll on, without a position query first.
  ASSERT_EQ(d.dev->RecordedSound(44100, got), 0);
  ASSERT_EQ(got.size(), 11025u);
  for (std::size_t i = 0; i < got.size(); ++i)
    if (got[i] != static_cast<short>((22050 + i) % 32768)) FAIL() << "sample " << i;
  d.clock.Advance(0.5);
  ASSERT_EQ(d.dev->RecordedSound(44100 + 2 * 11025, got), 0);
  EXPECT_EQ(got.size(), 22050u);
  EXPECT_EQ(got.back(), static_cast<short>(44099 % 32768));
}

TEST(RecordedTrack, RecordedSoundOpensAsAStoppedRecordingThatPlaysAndSaves) {
  Device d;
  std::vector<int16_t> sound(3 * 22050 + 7);
  for (std::size_t i = 0; i < sound.size(); ++i) sound[i] = static_cast<int16_t>(i % 1000);
  // Handed over in pieces of its own size, not those the device asks for.
  std::size_t at = 0;
  ASSERT_EQ(d.dev->OpenRecordedSound([&](int16_t* out, std::size_t count) {
    const std::size_t n = std::min({count, sound.size() - at, std::size_t{777}});
    std::copy_n(sound.begin() + static_cast<std::ptrdiff_t>(at), n, out);
    at += n;
    return n;
  }),
            0);
  EXPECT_TRUE(d.notices.empty()) << "nothing is being recorded, so no input is missing";
  EXPECT_EQ(d.Mode(), AudioMode::Stopped);
  EXPECT_EQ(d.Pos(), 0);
  int32_t len = 0;
  d.dev->Length(len);
  EXPECT_EQ(len, static_cast<int32_t>(sound.size() * 2));
  d.dev->PlayFrom(44100);
  d.clock.Advance(1.0);
  EXPECT_EQ(d.Pos(), 2 * 44100);

  TempFolder dir;
  ASSERT_EQ(d.dev->SaveWav(dir / "r.wav"), 0);
  std::string error;
  auto back = SoundFileSource::Open(dir / "r.wav", error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->Frames(), static_cast<int64_t>(sound.size()));
  std::vector<int16_t> saved(sound.size());
  ASSERT_EQ(back->Read(0, saved.data(), static_cast<int64_t>(saved.size())), static_cast<int64_t>(saved.size()));
  EXPECT_EQ(saved, sound);
}

TEST(RecordedTrack, BrokenInputContinuesOnTheClock) {
  Device d(true);
  d.dev->OpenNewRecording();
  d.dev->Record();
  d.clock.Advance(1.0);
  EXPECT_EQ(d.Pos(), 44100);
  EXPECT_FALSE(d.dev->InputLost());
  d.ramp->broken = true;
  d.clock.Advance(1.0);
  EXPECT_EQ(d.Pos(), 44100);  // the clock takes over from here
  EXPECT_TRUE(d.dev->InputLost()) << "the banner can say so at once";
  d.clock.Advance(1.0);
  EXPECT_EQ(d.Pos(), 88200);
  EXPECT_TRUE(d.notices.empty());  // not from inside a position query
  d.dev->Stop();
  ASSERT_EQ(d.notices.size(), 1u);  // but at the next command
  d.dev->SeekToStart();
  EXPECT_EQ(d.notices.size(), 1u);
  d.dev->OpenNewRecording();
  EXPECT_FALSE(d.dev->InputLost()) << "a new recording starts with its input whole";

  Device e(true);
  e.ramp->startOk = false;  // the input will not start at all
  e.dev->OpenNewRecording();
  e.dev->Record();
  e.clock.Advance(2.0);
  EXPECT_EQ(e.Pos(), 88200);
  EXPECT_EQ(e.notices.size(), 1u);
}

// The recording's sound ends where the recorder says, whatever the input still hands
// over at the stop or failed to hand over before it.
TEST(RecordedTrack, EndAtCutsABacklogAndFillsAShortfallWithSilence) {
  Device d(true);
  d.dev->OpenNewRecording();
  d.dev->Record();
  d.clock.Advance(3.2);
  EXPECT_GT(d.Pos(), 3 * 44100);
  d.ramp->backlog = 22050 * 98 / 10;  // 9.8 s
  ASSERT_EQ(d.dev->EndAt(3 * 44100), 0);
  EXPECT_EQ(d.Mode(), AudioMode::Stopped);
  int32_t len = 0;
  d.dev->Length(len);
  EXPECT_EQ(len, 3 * 44100);
  std::vector<int16_t> got;
  ASSERT_EQ(d.dev->RecordedSound(0, got), 0);
  for (std::size_t i = 0; i < got.size(); ++i)
    if (got[i] != static_cast<short>(i % 32768)) FAIL() << "sample " << i;

  ASSERT_EQ(d.dev->EndAt(4 * 44100), 0);
  d.dev->Length(len);
  EXPECT_EQ(len, 4 * 44100);
  got.clear();
  d.dev->RecordedSound(3 * 44100, got);
  EXPECT_EQ(std::count(got.begin(), got.end(), int16_t{0}), 22050);
}

// Sound taken off the start while recording: the capture goes on, its positions moved back.
TEST(RecordedTrack, DeletingFromTheStartWhileRecordingKeepsRecording) {
  Device d;
  d.dev->OpenNewRecording();
  d.dev->Record();
  d.clock.Advance(1.5);
  EXPECT_EQ(d.Pos(), 66150);
  ASSERT_EQ(d.dev->DeleteFromStart(22050), 0);
  EXPECT_EQ(d.Mode(), AudioMode::Recording);
  EXPECT_EQ(d.Pos(), 44100);
  d.clock.Advance(1.0);
  EXPECT_EQ(d.Pos(), 88200);
  int32_t len = 0;
  d.dev->Length(len);
  EXPECT_EQ(len, 88200);
}

TEST(RecordedTrack, SaveWavFailureKeepsTheOldFileAndIsReported) {
  TempFolder dir;
  PcmSamples old(100, 7);
  ASSERT_FALSE(SaveWavFile(dir / "a.wav", old, PcmFormat{22050, 1}));
  const auto before = test::ReadBytes(dir / "a.wav");

  Device d(true);
  d.dev->OpenNewRecording();
  d.dev->Record();
  d.clock.Advance(1.0);
  int32_t r = 0;
  {
    test::FileSizeLimit limit(1000);  // the disk is full after 1000 bytes
    r = d.dev->SaveWav(dir / "a.wav");
  }
  EXPECT_EQ(r, AudioSaveFailed);
  std::string text;
  EXPECT_TRUE(d.dev->ErrorText(r, text));
  EXPECT_NE(text.find("a.wav"), std::string::npos);
  EXPECT_EQ(test::ReadBytes(dir / "a.wav"), before);

  // A loaded WAV saved under a new name is an exact copy, even once the source is gone.
  ASSERT_EQ(d.dev->OpenWav(dir / "a.wav"), 0);
  std::filesystem::remove(dir / "a.wav");
  ASSERT_EQ(d.dev->SaveWav(dir / "b.wav"), 0);
  EXPECT_EQ(test::ReadBytes(dir / "b.wav"), before);

  // The silent track cannot be saved as a recording's sound.
  d.dev->OpenSilentTrack(SilentTrack);
  EXPECT_EQ(d.dev->SaveWav(dir / "c.wav"), AudioNotSupported);
  EXPECT_FALSE(std::filesystem::exists(dir / "c.wav"));
}

TEST(SilentTrackFile, IsAShortMp3TheReaderAccepts) {
  std::string error;
  auto src = SoundFileSource::Open(SilentTrack, error);
  ASSERT_NE(src, nullptr) << error;
  EXPECT_FALSE(src->IsWav());
  EXPECT_GT(src->Frames(), 0);
  EXPECT_LT(src->Frames(), 10 * src->Format().rate);
}

}  // namespace
}  // namespace zk
