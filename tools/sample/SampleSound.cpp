#include "SampleSound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zk::sample {

namespace {

// A tone fades in and out over this long, so that it starts and stops without a click.
constexpr double FadeSeconds = 0.05;

// Noise from a fixed seed: the same sound every build.
class Noise {
 public:
  // White noise in -1..1, softened by a one-pole low-pass into a room's hiss.
  double Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    const double white = static_cast<double>(state_ >> 11) / static_cast<double>(1ULL << 53) * 2 - 1;
    smooth_ += 0.2 * (white - smooth_);
    return smooth_ * 2;
  }

 private:
  uint64_t state_ = 0x2545F4914F6CDD1DULL;
  double smooth_ = 0;
};

}  // namespace

PcmSamples RoomSound(const SessionScript& script) {
  const double rate = SoundFormat.rate;
  const auto frames = static_cast<int64_t>(std::llround(script.Seconds() * rate));
  PcmSamples sound;
  Noise noise;
  double noiseLevel = 0, toneHz = 0, toneLevel = 0, phase = 0, gain = 0, ramp = 0;
  std::size_t next = 0;
  for (int64_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    for (; next < script.events.size() && script.events[next].at <= t; ++next) {
      const ScriptEvent& e = script.events[next];
      if (e.action == Action::Noise) noiseLevel = e.a;
      if (e.action == Action::Tone) {
        toneHz = e.a;
        toneLevel = e.b;
      }
      if (e.action == Action::Quiet) toneLevel = 0;
      ramp = std::abs(toneLevel - gain) / (FadeSeconds * rate);
    }
    // The tone's gain moves to its level in a straight line; its frequency stays with the
    // last tone until the next one, so a fade-out keeps its pitch.
    gain = gain < toneLevel ? std::min(toneLevel, gain + ramp) : std::max(toneLevel, gain - ramp);
    phase = std::fmod(phase + 2 * std::numbers::pi * toneHz / rate, 2 * std::numbers::pi);
    const double v = noiseLevel * noise.Next() + gain * std::sin(phase);
    sound.push_back(static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L)));
  }
  return sound;
}

}  // namespace zk::sample
