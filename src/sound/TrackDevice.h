#pragma once
// The audio device of the program: one track at a time — a new recording (16-bit mono
// 22050 Hz PCM, kept in a scratch file as it arrives, positions in bytes), a WAV file (positions in bytes of its own
// format), an MP3 (positions in milliseconds) or the silent timing track (milliseconds,
// no end). Sound goes through a SoundInput and a SoundOutput; when a real one is missing
// or breaks down the device carries on with the clock and tells the user once.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "core/AudioDevice.h"
#include "sound/AudioFactory.h"
#include "sound/CaptureClock.h"
#include "sound/SoundIO.h"

namespace zk {

// Return codes besides 0.
enum AudioError : int32_t {
  AudioNotOpen = 1,       // no track is open
  AudioOpenFailed = 2,    // the file could not be opened as a sound track
  AudioNotSupported = 3,  // the command does not apply to this track
  AudioSaveFailed = 4,    // the sound file could not be written
};

class TrackDevice : public AudioDevice {
 public:
  // `input`/`output` may be real or clock ones; the clock ones are the fallbacks. A new
  // recording's sound goes to a scratch file in `scratchFolder` (empty: the system's
  // temporary folder).
  TrackDevice(Clock& clock, std::unique_ptr<SoundInput> input, std::unique_ptr<SoundOutput> output, AudioNotice notice,
              std::string scratchFolder = "");
  ~TrackDevice() override;

  int32_t Close() override;
  int32_t OpenNewRecording() override;
  int32_t Record() override;
  int32_t OpenWav(const std::string& path) override;
  int32_t OpenMp3(const std::string& path) override;
  int32_t OpenSilentTrack(const std::string& path) override;
  int32_t Play() override;
  int32_t PlayFrom(int32_t position) override;
  int32_t Pause() override;
  int32_t Stop() override;
  int32_t SeekTo(int32_t position) override;
  int32_t SeekToStart() override;
  int32_t DeleteFromStart(int32_t bytes) override;
  int32_t EndAt(int32_t bytes) override;
  int32_t SaveWav(const std::string& path) override;
  int32_t RecordedSound(int32_t from, std::vector<int16_t>& out) override;
  int32_t OpenRecordedSound(const SoundPieces& next) override;
  int32_t Position(int32_t& position) override;
  int32_t Length(int32_t& length) override;
  int32_t Mode(AudioMode& mode) override;
  int32_t SamplesPerSec(int32_t& v) override;
  int32_t BitsPerSample(int32_t& v) override;
  int32_t Channels(int32_t& v) override;
  bool ErrorText(int32_t code, std::string& text) override;
  bool InputLost() const override { return inputLost_; }

 private:
  enum class Kind { None, Recording, Wav, Mp3, Silent };
  struct Track;

  int32_t Fail(int32_t code, std::string detail);
  int32_t OpenFile(const std::string& path, Kind kind);
  void NewRecordingTrack();  // an empty recording, stopped
  FrameSource& Source() const;
  // Recording: the estimated frame of the present moment. Playing: the frame played.
  // Also notices the end of the track and failed sound devices.
  int64_t CurrentFrame();
  int64_t Delivered() const;  // frames of a recording captured so far
  int64_t FrameOf(int64_t position) const;
  int64_t PositionOf(int64_t frame) const;
  int64_t ClampFrame(int64_t frame) const;
  int32_t StartPlaying();
  void Collect();
  void StopInput();  // the input stops; what it still held is taken in
  void StopPlaying();
  void StopRecording();
  void Tell(bool input, const char* text, bool later = false);
  void DeliverNotice();

  std::string scratchFolder_;
  std::unique_ptr<SoundInput> input_, clockInput_;
  std::unique_ptr<SoundOutput> output_, clockOutput_;
  SoundInput* activeInput_ = nullptr;
  SoundOutput* activeOutput_ = nullptr;
  AudioNotice notice_;
  bool toldInput_ = false, toldOutput_ = false;
  bool inputLost_ = false;  // the recording's real input broke down
  std::string pending_;     // a notice waiting for the next command

  Kind kind_ = Kind::None;
  std::unique_ptr<Track> track_;
  AudioMode mode_ = AudioMode::NotReady;
  int64_t frame_ = 0;     // position while not playing
  int64_t playFrom_ = 0;  // frame the current play started at
  CaptureClock capture_;  // the recording's position between the input's deliveries
  int32_t lastCode_ = 0;
  std::string lastDetail_;
};

}  // namespace zk
