#pragma once
// Sound input and output that only keep time: the input "captures" silence at the
// format's rate as the clock runs, the output "plays" by letting the clock run.
#include "base/Clock.h"
#include "sound/SoundIO.h"

namespace zk {

// Seconds elapsed on a Clock whose timer restarts at midnight.
class Stopwatch {
 public:
  explicit Stopwatch(Clock& clock) : clock_(clock) {}
  void Restart();
  double Elapsed();

 private:
  Clock& clock_;
  double last_ = 0, elapsed_ = 0;
};

// `blockFrames` above 0 hands the silence over in whole blocks of that many frames, each
// once its last frame is due, as a sound server does; 0 hands over every frame as it is due.
class ClockInput : public SoundInput {
 public:
  explicit ClockInput(Clock& clock, int64_t blockFrames = 0) : watch_(clock), block_(blockFrames) {}
  bool Real() const override { return false; }
  bool Start(const PcmFormat& fmt, int64_t framesSoFar) override;
  void Collect(PcmSamples& into) override;
  void Stop(PcmSamples& into) override;
  bool Failed() override { return false; }

 private:
  Stopwatch watch_;
  int64_t block_;
  PcmFormat fmt_;
  int64_t startFrames_ = 0;
  int64_t delivered_ = 0;  // frames handed over, those before the start included
  bool running_ = false;
};

class ClockOutput : public SoundOutput {
 public:
  explicit ClockOutput(Clock& clock) : watch_(clock) {}
  bool Real() const override { return false; }
  bool Start(FrameSource& source, int64_t fromFrame) override;
  void Pause() override;
  void Resume() override;
  void Stop() override;
  int64_t PlayedFrames() override;
  bool Failed() override { return false; }

 private:
  Stopwatch watch_;
  int32_t rate_ = 1000;
  double banked_ = 0;  // seconds played before the last pause
  bool running_ = false;
};

}  // namespace zk
