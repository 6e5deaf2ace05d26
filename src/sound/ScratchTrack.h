#pragma once
// The sound of a new recording, kept on disk as it arrives. Memory holds only the last
// second or so, not yet written; everything before it lies in an unnamed scratch file,
// which the system removes with the last handle, so that a crash leaves nothing behind
// (the crash spool is what brings a recording back). When no scratch file can be made,
// or the disk fills up, the sound stays in memory from then on, as a recording held
// entirely in memory would: the recording goes on either way.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sound/SoundIO.h"

namespace zk {

class ScratchTrack {
 public:
  // Samples gathered in memory before they go to the file together: a second of sound.
  static constexpr std::size_t SpillSamples = SoundSampleRate;

  // The scratch file goes to `folder` (made when missing); with no folder, or where none
  // can be made, to the system's temporary folder.
  explicit ScratchTrack(const std::string& folder);
  ~ScratchTrack();
  ScratchTrack(const ScratchTrack&) = delete;
  ScratchTrack& operator=(const ScratchTrack&) = delete;

  void Append(const int16_t* samples, std::size_t count);
  // Appends what `from` holds and empties it.
  void Take(PcmSamples& from);
  // Samples held, those dropped from the start left out.
  int64_t Size() const { return onDisk_ + static_cast<int64_t>(tail_.size()) - front_; }
  // Copies up to `count` samples from sample `at` on into `out`; answers how many.
  int64_t Read(int64_t at, int16_t* out, int64_t count) const;
  // Forgets the first `count` samples.
  void DropFront(int64_t count);
  // Cuts the track to `count` samples, or pads it with silence up to that many.
  void Resize(int64_t count);
  // True while the sound goes to the scratch file.
  bool OnDisk() const { return fd_ >= 0 && !stuck_; }

 private:
  void Spill();

  int fd_ = -1;
  bool stuck_ = false;         // a write failed: the rest stays in memory
  int64_t front_ = 0;          // samples dropped from the start
  int64_t onDisk_ = 0;         // samples in the file; they come before the tail
  std::vector<int16_t> tail_;  // samples not written to the file
};

// A scratch track played as frames.
class ScratchSource : public FrameSource {
 public:
  ScratchSource(const ScratchTrack& track, PcmFormat fmt) : track_(track), fmt_(fmt) {}
  PcmFormat Format() const override { return fmt_; }
  int64_t Frames() const override { return track_.Size() / fmt_.channels; }
  int64_t Read(int64_t frame, int16_t* out, int64_t frames) override;

 private:
  const ScratchTrack& track_;
  PcmFormat fmt_;
};

}  // namespace zk
