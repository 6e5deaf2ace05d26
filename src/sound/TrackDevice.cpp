#include "sound/TrackDevice.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "sound/ClockSound.h"
#include "sound/ScratchTrack.h"
#include "sound/SoundFile.h"

namespace zk {

namespace {

// The silent timing track runs as a clock: one "frame" per millisecond, no end.
class SilentSource : public FrameSource {
 public:
  PcmFormat Format() const override { return {1000, 1}; }
  int64_t Frames() const override { return -1; }
  int64_t Read(int64_t, int16_t* out, int64_t frames) override {
    std::memset(out, 0, static_cast<std::size_t>(frames) * sizeof(int16_t));
    return frames;
  }
};

int32_t ToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, std::numeric_limits<int32_t>::max()));
}

constexpr const char* NoSoundAtAll = "No sound device was found on this computer: no sound is captured or played.";
constexpr const char* NoSoundInput = "No sound input was found on this computer: recordings are made without sound.";
constexpr const char* NoSoundOutput = "No sound output was found on this computer: recordings play without sound.";
constexpr const char* InputBroke = "The sound input stopped delivering sound: the rest of this recording is silent.";
constexpr const char* OutputBroke = "The sound output stopped playing: playback goes on without sound.";

}  // namespace

struct TrackDevice::Track {
  std::unique_ptr<ScratchTrack> recorded;  // a new recording
  PcmSamples arriving;                     // what the input has just handed over
  std::unique_ptr<SoundFileSource> file;   // a WAV or MP3
  std::unique_ptr<FrameSource> source;     // what plays
  PcmFormat fmt;
  int32_t bits = 16;
};

TrackDevice::TrackDevice(Clock& clock, std::unique_ptr<SoundInput> input, std::unique_ptr<SoundOutput> output,
                         AudioNotice notice, std::string scratchFolder)
    : scratchFolder_(std::move(scratchFolder)),
      input_(std::move(input)),
      clockInput_(std::make_unique<ClockInput>(clock)),
      output_(std::move(output)),
      clockOutput_(std::make_unique<ClockOutput>(clock)),
      notice_(std::move(notice)),
      capture_(clock) {
  if (!input_) input_ = std::make_unique<ClockInput>(clock);
  if (!output_) output_ = std::make_unique<ClockOutput>(clock);
}

TrackDevice::~TrackDevice() { Close(); }

int32_t TrackDevice::Fail(int32_t code, std::string detail) {
  lastCode_ = code;
  lastDetail_ = std::move(detail);
  return code;
}

void TrackDevice::Tell(bool input, const char* text, bool later) {
  bool& told = input ? toldInput_ : toldOutput_;
  if (told) return;
  told = true;
  if (!input_->Real() && !output_->Real()) {
    toldInput_ = toldOutput_ = true;
    text = NoSoundAtAll;
  }
  pending_ = text;
  if (!later) DeliverNotice();
}

// A device that breaks down is noticed inside a position or mode query, in the middle of
// a receive or playback step; the user is told at the next command instead (stop, pause,
// play, seek, save, close), where a message box does no harm.
void TrackDevice::DeliverNotice() {
  if (pending_.empty()) return;
  std::string text = std::move(pending_);
  pending_.clear();
  if (notice_) notice_(text);
}

int32_t TrackDevice::Close() {
  DeliverNotice();
  if (mode_ == AudioMode::Recording && activeInput_ && track_) activeInput_->Stop(track_->arriving);
  StopPlaying();
  track_.reset();
  kind_ = Kind::None;
  mode_ = AudioMode::NotReady;
  frame_ = 0;
  return 0;
}

void TrackDevice::NewRecordingTrack() {
  Close();
  track_ = std::make_unique<Track>();
  track_->fmt = PcmFormat{SoundSampleRate, 1};
  track_->recorded = std::make_unique<ScratchTrack>(scratchFolder_);
  inputLost_ = false;
  track_->source = std::make_unique<ScratchSource>(*track_->recorded, track_->fmt);
  kind_ = Kind::Recording;
  mode_ = AudioMode::Stopped;
}

int32_t TrackDevice::OpenNewRecording() {
  NewRecordingTrack();
  if (!input_->Real()) Tell(true, NoSoundInput);
  return 0;
}

int32_t TrackDevice::OpenFile(const std::string& path, Kind kind) {
  Close();
  std::string error;
  auto file = SoundFileSource::Open(path, error);
  if (!file) return Fail(AudioOpenFailed, path + ": " + error);
  track_ = std::make_unique<Track>();
  track_->fmt = file->Format();
  track_->bits = file->BitsPerSample();
  kind_ = kind;
  if (kind == Kind::Silent) {
    track_->source = std::make_unique<SilentSource>();
    track_->fmt = track_->source->Format();
  } else {
    track_->file = std::move(file);
    if (!output_->Real()) Tell(false, NoSoundOutput);
  }
  mode_ = AudioMode::Stopped;
  return 0;
}

int32_t TrackDevice::OpenWav(const std::string& path) { return OpenFile(path, Kind::Wav); }
int32_t TrackDevice::OpenMp3(const std::string& path) { return OpenFile(path, Kind::Mp3); }
int32_t TrackDevice::OpenSilentTrack(const std::string& path) { return OpenFile(path, Kind::Silent); }

FrameSource& TrackDevice::Source() const {
  return track_->file ? static_cast<FrameSource&>(*track_->file) : *track_->source;
}

int64_t TrackDevice::PositionOf(int64_t frame) const {
  switch (kind_) {
    case Kind::Recording:
    case Kind::Wav: return frame * track_->fmt.channels * (track_->bits / 8);
    case Kind::Mp3: return std::llround(static_cast<double>(frame) * 1000.0 / track_->fmt.rate);
    case Kind::Silent: return frame;
    case Kind::None: break;
  }
  return 0;
}

int64_t TrackDevice::FrameOf(int64_t position) const {
  switch (kind_) {
    case Kind::Recording:
    case Kind::Wav: return position / std::max(1, track_->fmt.channels * (track_->bits / 8));
    case Kind::Mp3: return std::llround(static_cast<double>(position) * track_->fmt.rate / 1000.0);
    case Kind::Silent: return position;
    case Kind::None: break;
  }
  return 0;
}

int64_t TrackDevice::ClampFrame(int64_t frame) const {
  const int64_t end = Source().Frames();
  frame = std::max<int64_t>(0, frame);
  return end < 0 ? frame : std::min(frame, end);
}

void TrackDevice::Collect() {
  if (mode_ != AudioMode::Recording || !activeInput_) return;
  if (activeInput_->Real() && activeInput_->Failed()) {
    StopInput();
    activeInput_ = clockInput_.get();
    activeInput_->Start(track_->fmt, Delivered());
    capture_.Restart();
    inputLost_ = true;
    Tell(true, InputBroke, true);
  }
  activeInput_->Collect(track_->arriving);
  track_->recorded->Take(track_->arriving);
}

void TrackDevice::StopInput() {
  activeInput_->Stop(track_->arriving);
  track_->recorded->Take(track_->arriving);
}

int64_t TrackDevice::Delivered() const { return track_->recorded->Size() / track_->fmt.channels; }

int64_t TrackDevice::CurrentFrame() {
  if (mode_ == AudioMode::Recording) {
    Collect();
    return capture_.Now(Delivered());
  }
  if (mode_ != AudioMode::Playing && mode_ != AudioMode::Paused) return frame_;
  if (activeOutput_->Real() && activeOutput_->Failed()) {
    // Carry on from where the sound stopped, timed by the clock.
    const int64_t at = ClampFrame(playFrom_ + activeOutput_->PlayedFrames());
    activeOutput_->Stop();
    activeOutput_ = clockOutput_.get();
    playFrom_ = at;
    activeOutput_->Start(Source(), at);
    if (mode_ == AudioMode::Paused) activeOutput_->Pause();
    Tell(false, OutputBroke, true);
  }
  const int64_t f = ClampFrame(playFrom_ + activeOutput_->PlayedFrames());
  const int64_t end = Source().Frames();
  if (end >= 0 && f >= end) {
    StopPlaying();
    mode_ = AudioMode::Stopped;
  }
  frame_ = f;
  return f;
}

void TrackDevice::StopPlaying() {
  if (activeOutput_) activeOutput_->Stop();
  activeOutput_ = nullptr;
}

void TrackDevice::StopRecording() {
  if (mode_ != AudioMode::Recording) return;
  StopInput();
  activeInput_ = nullptr;
  frame_ = Delivered();
  mode_ = AudioMode::Stopped;
}

int32_t TrackDevice::Record() {
  if (kind_ != Kind::Recording) return Fail(kind_ == Kind::None ? AudioNotOpen : AudioNotSupported, "");
  if (mode_ == AudioMode::Recording) return 0;
  StopPlaying();
  const int64_t have = Delivered();
  capture_.Start(track_->fmt.rate, have);
  activeInput_ = input_.get();
  if (!activeInput_->Start(track_->fmt, have)) {
    activeInput_ = clockInput_.get();
    activeInput_->Start(track_->fmt, have);
    Tell(true, InputBroke);
  }
  mode_ = AudioMode::Recording;
  return 0;
}

int32_t TrackDevice::StartPlaying() {
  SoundOutput* out = kind_ == Kind::Silent ? clockOutput_.get() : output_.get();
  if (out->Real()) {
    if (!out->Start(Source(), frame_)) {
      out = clockOutput_.get();
      Tell(false, OutputBroke);
      out->Start(Source(), frame_);
    }
  } else {
    if (kind_ != Kind::Silent) Tell(false, NoSoundOutput);
    out->Start(Source(), frame_);
  }
  activeOutput_ = out;
  playFrom_ = frame_;
  mode_ = AudioMode::Playing;
  CurrentFrame();  // a play from the end stops at once
  return 0;
}

int32_t TrackDevice::Play() {
  DeliverNotice();
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  StopRecording();
  if (mode_ == AudioMode::Playing) return 0;
  if (mode_ == AudioMode::Paused) {
    activeOutput_->Resume();
    mode_ = AudioMode::Playing;
    return 0;
  }
  return StartPlaying();
}

int32_t TrackDevice::PlayFrom(int32_t position) {
  DeliverNotice();
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  StopRecording();
  StopPlaying();
  frame_ = ClampFrame(FrameOf(position));
  return StartPlaying();
}

int32_t TrackDevice::Pause() {
  DeliverNotice();
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  if (mode_ == AudioMode::Recording) return Fail(AudioNotSupported, "");
  if (mode_ != AudioMode::Playing) return 0;
  CurrentFrame();
  if (mode_ == AudioMode::Playing) {
    activeOutput_->Pause();
    mode_ = AudioMode::Paused;
  }
  return 0;
}

int32_t TrackDevice::Stop() {
  DeliverNotice();
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  if (mode_ == AudioMode::Recording) {
    StopRecording();
    return 0;
  }
  if (mode_ == AudioMode::Playing || mode_ == AudioMode::Paused) {
    CurrentFrame();
    StopPlaying();
    mode_ = AudioMode::Stopped;
  }
  return 0;
}

int32_t TrackDevice::SeekTo(int32_t position) {
  DeliverNotice();
  if (int32_t r = Stop()) return r;
  frame_ = ClampFrame(FrameOf(position));
  return 0;
}

int32_t TrackDevice::SeekToStart() { return SeekTo(0); }

int32_t TrackDevice::DeleteFromStart(int32_t bytes) {
  if (kind_ != Kind::Recording) return Fail(kind_ == Kind::None ? AudioNotOpen : AudioNotSupported, "");
  const bool recording = mode_ == AudioMode::Recording;
  if (recording)
    Collect();
  else
    Stop();
  const int64_t frames = std::clamp<int64_t>(FrameOf(bytes), 0, Delivered());
  track_->recorded->DropFront(frames * track_->fmt.channels);
  if (recording)
    capture_.Drop(frames);  // the capture goes on, its positions moved back with the sound
  else
    frame_ = std::max<int64_t>(0, frame_ - frames);
  return 0;
}

int32_t TrackDevice::EndAt(int32_t bytes) {
  if (kind_ != Kind::Recording) return Fail(kind_ == Kind::None ? AudioNotOpen : AudioNotSupported, "");
  Stop();
  const int64_t frames = std::max<int64_t>(0, FrameOf(bytes));
  track_->recorded->Resize(frames * track_->fmt.channels);
  frame_ = std::min(frame_, frames);
  return 0;
}

int32_t TrackDevice::SaveWav(const std::string& path) {
  DeliverNotice();
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  FileError err;
  if (kind_ == Kind::Recording) {
    StopRecording();
    err = ReplaceFileAtomically(path, [&](int fd) { return WriteWav(fd, *track_->source); });
  } else if (kind_ == Kind::Wav && track_->file->IsWav()) {
    err = ReplaceFileAtomically(path, [&](int fd) { return track_->file->CopyTo(fd); });
  } else {
    return Fail(AudioNotSupported, "");
  }
  if (err) return Fail(AudioSaveFailed, path + ": " + err.description);
  return 0;
}

int32_t TrackDevice::RecordedSound(int32_t from, std::vector<int16_t>& out) {
  if (kind_ != Kind::Recording) return Fail(kind_ == Kind::None ? AudioNotOpen : AudioNotSupported, "");
  if (mode_ == AudioMode::Recording) Collect();
  const ScratchTrack& s = *track_->recorded;
  const int64_t first = std::max(0, from) / 2;
  if (first >= s.Size()) return 0;
  const std::size_t had = out.size();
  out.resize(had + static_cast<std::size_t>(s.Size() - first));
  out.resize(had + static_cast<std::size_t>(s.Read(first, out.data() + had, s.Size() - first)));
  return 0;
}

int32_t TrackDevice::OpenRecordedSound(const SoundPieces& next) {
  NewRecordingTrack();
  std::vector<int16_t> piece(ScratchTrack::SpillSamples);
  for (std::size_t n = 0; (n = next(piece.data(), piece.size())) > 0;) track_->recorded->Append(piece.data(), n);
  return 0;
}

int32_t TrackDevice::Position(int32_t& position) {
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  position = ToInt32(PositionOf(CurrentFrame()));
  return 0;
}

int32_t TrackDevice::Length(int32_t& length) {
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  if (kind_ == Kind::Silent) {
    length = std::numeric_limits<int32_t>::max();
    return 0;
  }
  if (mode_ == AudioMode::Recording) Collect();
  length = ToInt32(PositionOf(Source().Frames()));
  return 0;
}

int32_t TrackDevice::Mode(AudioMode& mode) {
  if (kind_ == Kind::None) {
    mode = AudioMode::NotReady;
    return Fail(AudioNotOpen, "");
  }
  CurrentFrame();
  mode = mode_;
  return 0;
}

int32_t TrackDevice::SamplesPerSec(int32_t& v) {
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  v = track_->fmt.rate;
  return 0;
}

int32_t TrackDevice::BitsPerSample(int32_t& v) {
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  v = track_->bits;
  return 0;
}

int32_t TrackDevice::Channels(int32_t& v) {
  if (kind_ == Kind::None) return Fail(AudioNotOpen, "");
  v = track_->fmt.channels;
  return 0;
}

bool TrackDevice::ErrorText(int32_t code, std::string& text) {
  switch (code) {
    case 0: text = "The specified command was carried out."; break;
    case AudioNotOpen: text = "No sound track is open."; break;
    case AudioOpenFailed: text = "The file could not be opened as a sound track."; break;
    case AudioNotSupported: text = "The command cannot be carried out on this sound track."; break;
    case AudioSaveFailed: text = "The sound file could not be saved."; break;
    default: return false;
  }
  if (code == lastCode_ && !lastDetail_.empty()) text += " " + lastDetail_;
  return true;
}

}  // namespace zk
