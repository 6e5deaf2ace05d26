#pragma once
// A sample session's room sound, made up: quiet noise and tones as the script says, in
// the recording format (16-bit mono, 22050 samples a second).
#include "SessionScript.h"
#include "sound/SoundIO.h"

namespace zk::sample {

inline constexpr PcmFormat SoundFormat{22050, 1};

PcmSamples RoomSound(const SessionScript& script);

}  // namespace zk::sample
