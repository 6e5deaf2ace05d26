#pragma once
// Sound files through libsndfile: reading WAV and MP3 as 16-bit frames, writing the
// recording format as WAV.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "sound/SoundIO.h"

namespace zk {

// A sound file opened for streaming.
class SoundFileSource : public FrameSource {
 public:
  // nullptr with `error` set when the file cannot be opened as sound.
  static std::unique_ptr<SoundFileSource> Open(const std::string& path, std::string& error);
  ~SoundFileSource() override;

  PcmFormat Format() const override { return fmt_; }
  int64_t Frames() const override { return frames_; }
  int64_t Read(int64_t frame, int16_t* out, int64_t frames) override;
  int32_t BitsPerSample() const { return bits_; }
  bool IsWav() const { return wav_; }
  // The file's bytes exactly as opened (kept open, so this works even after the path has
  // been deleted or replaced).
  FileError CopyTo(int fd) const;

 private:
  SoundFileSource() = default;
  void* sf_ = nullptr;  // SNDFILE*
  int fd_ = -1;         // the file itself, for CopyTo
  PcmFormat fmt_;
  int64_t frames_ = 0;
  int64_t cursor_ = 0;
  int32_t bits_ = 16;
  bool wav_ = false;
};

// 16-bit PCM frames in memory (a recording).
class MemorySource : public FrameSource {
 public:
  MemorySource(const PcmSamples& samples, PcmFormat fmt) : samples_(samples), fmt_(fmt) {}
  PcmFormat Format() const override { return fmt_; }
  int64_t Frames() const override { return static_cast<int64_t>(samples_.size()) / fmt_.channels; }
  int64_t Read(int64_t frame, int16_t* out, int64_t frames) override;

 private:
  const PcmSamples& samples_;
  PcmFormat fmt_;
};

// Whether a WAV file holds all the sound its header claims: false, with `error` saying
// how much is claimed and how much is there, when the file was cut short. A file that is
// no RIFF/WAVE file at all is left to the sound library to judge (true).
bool WavDataIsWhole(const std::string& path, std::string& error);

// Writes 16-bit PCM samples as a WAV file to `fd`.
FileError WriteWav(int fd, const PcmSamples& samples, PcmFormat fmt);
// Writes every frame of `source` as a 16-bit PCM WAV file to `fd`.
FileError WriteWav(int fd, FrameSource& source);
// Writes `path` atomically (temporary file + rename).
FileError SaveWavFile(const std::string& path, const PcmSamples& samples, PcmFormat fmt);

}  // namespace zk
