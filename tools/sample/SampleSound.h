#pragma once
// A sample session's room sound, made up: quiet noise and tones as the script says, in
// the recording format (16-bit mono, 22050 samples a second).
#include "SessionScript.h"
#include "recording/SoundIO.h"

namespace zk::sample {

inline constexpr PcmFormat kSoundFormat{22050, 1};

PcmSamples RoomSound(const SessionScript& script);

}  // namespace zk::sample
