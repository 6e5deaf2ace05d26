#pragma once
// What the audio track device needs from the machine: somewhere to capture sound from and
// somewhere to play it. Each has a real implementation over Qt and one that only keeps
// time with the clock (silence in, nothing out).
#include <cstdint>
#include <deque>

#include "base/RecordingRates.h"

namespace zk {

// A real device that has delivered or consumed nothing for this long is taken as broken.
// The sound server can take a second or two to start a stream, so this allows for more.
constexpr double DeviceStallSeconds = 5.0;

// Recorded sound, interleaved 16-bit samples. A deque grows without moving what it holds,
// so a long recording never needs a second copy of itself in memory.
using PcmSamples = std::deque<int16_t>;

// Interleaved 16-bit PCM.
struct PcmFormat {
  int32_t rate = SoundSampleRate;
  int32_t channels = 1;
};

// Frames to play, read from any frame on; a track in memory or streamed from a file.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  virtual PcmFormat Format() const = 0;
  virtual int64_t Frames() const = 0;  // -1: no end
  // Reads up to `frames` frames starting at `frame` into `out`; answers the frames read
  // (0 at the end).
  virtual int64_t Read(int64_t frame, int16_t* out, int64_t frames) = 0;
};

class SoundInput {
 public:
  virtual ~SoundInput() = default;
  virtual bool Real() const = 0;
  // Starts capturing; `framesSoFar` is how much the track already holds (a clock input
  // taking over from a failed real one continues from there).
  virtual bool Start(const PcmFormat& fmt, int64_t framesSoFar) = 0;
  // Appends what was captured since the last call (the caller may empty `into` between
  // calls: it is not a record of the whole capture).
  virtual void Collect(PcmSamples& into) = 0;
  virtual void Stop(PcmSamples& into) = 0;
  // True when the capture has broken down or delivers nothing; the device then
  // continues on the clock.
  virtual bool Failed() = 0;
};

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  virtual bool Real() const = 0;
  virtual bool Start(FrameSource& source, int64_t fromFrame) = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  virtual void Stop() = 0;
  // Frames played since Start, pauses excluded.
  virtual int64_t PlayedFrames() = 0;
  virtual bool Failed() = 0;
};

}  // namespace zk
