#include "sound/ClockSound.h"

#include <cmath>

namespace zk {

void Stopwatch::Restart() {
  last_ = clock_.Timer();
  elapsed_ = 0;
}

double Stopwatch::Elapsed() {
  double now = clock_.Timer();
  elapsed_ += Timer_Elapsed(last_, now);
  last_ = now;
  return elapsed_;
}

bool ClockInput::Start(const PcmFormat& fmt, int64_t framesSoFar) {
  fmt_ = fmt;
  startFrames_ = framesSoFar;
  delivered_ = framesSoFar;
  watch_.Restart();
  running_ = true;
  return true;
}

void ClockInput::Collect(PcmSamples& into) {
  if (!running_) return;
  int64_t due = static_cast<int64_t>(std::floor(watch_.Elapsed() * fmt_.rate));
  if (block_ > 0) due -= due % block_;
  const int64_t frames = startFrames_ + due;
  if (frames <= delivered_) return;
  into.insert(into.end(), static_cast<std::size_t>((frames - delivered_) * fmt_.channels), int16_t{0});
  delivered_ = frames;
}

void ClockInput::Stop(PcmSamples& into) {
  Collect(into);
  running_ = false;
}

bool ClockOutput::Start(FrameSource& source, int64_t) {
  rate_ = source.Format().rate;
  banked_ = 0;
  watch_.Restart();
  running_ = true;
  return true;
}

void ClockOutput::Pause() {
  if (!running_) return;
  banked_ += watch_.Elapsed();
  running_ = false;
}

void ClockOutput::Resume() {
  if (running_) return;
  watch_.Restart();
  running_ = true;
}

void ClockOutput::Stop() { Pause(); }

int64_t ClockOutput::PlayedFrames() {
  const double seconds = banked_ + (running_ ? watch_.Elapsed() : 0.0);
  return static_cast<int64_t>(std::floor(seconds * rate_));
}

}  // namespace zk
