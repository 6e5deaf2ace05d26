#pragma once
// Where a sound capture is *now*, between its deliveries. A sound input hands its sound
// over in blocks (a sound server may gather 20 ms or 150 ms before it passes anything on),
// so the count of frames delivered lags the sound of the present moment by up to a block.
// The capture clock adds the time since the last block arrived, never more than the
// largest of the last blocks (a server that hands over 20 ms pieces of a card's 42.7 ms
// blocks delivers unevenly), and never answers less than it answered before.
//
// When a block arrives is known only when the input is next looked at, which may be a
// little later. The clock therefore keeps the earliest arrival seen for the sound's own
// time line (arrival time minus the frames delivered): a block seen late does not make
// "now" late, while the earliest arrival creeps forward slowly so that a sound card whose
// clock runs a little slow is followed. A capture that stalls and resumes behind its time
// line (a lost stretch of sound) restarts the line.
#include <array>
#include <cstdint>

#include "sound/ClockSound.h"

namespace zk {

class CaptureClock {
 public:
  // How fast the sound's time line may move later than the earliest arrival seen (seconds
  // per second): follows a sound card clock up to 0.2 % slow.
  static constexpr double Creep = 0.002;

  explicit CaptureClock(Clock& clock) : watch_(clock) {}

  // The capture starts with `frames` already held, at `rate` frames a second.
  void Start(int32_t rate, int64_t frames);
  // Another input takes over the capture: its time line is found afresh, and the answers
  // do not go back meanwhile.
  void Restart();
  // `frames` were taken off the start of the capture: every position moves back by as much.
  void Drop(int64_t frames);
  // The frames delivered so far, looked at now: the estimated frame of the present moment.
  int64_t Now(int64_t delivered);
  // The most the present moment may lie beyond the frames delivered: the largest of the
  // last blocks (frames).
  int64_t Block() const;

 private:
  void Forget_Blocks();

  Stopwatch watch_;
  double rate_ = 1;
  int64_t delivered_ = 0;
  std::array<int64_t, 16> blocks_{};  // the last blocks delivered (frames)
  std::size_t next_ = 0;              // where the next block goes in blocks_
  int64_t answered_ = 0;
  bool lined_ = false;  // the time line is known
  double line_ = 0;     // seconds since Start at which frame 0 would have been captured
  double seen_ = 0;     // seconds since Start of the last arrival
};

}  // namespace zk
