#pragma once
// The sound device's position and length as the procedures ask for them: read into the
// session state (AudioPosition, AudioLength), which keeps its value when the device cannot
// tell. The one place the player, the recorder, the loader, the receive path and the
// playback trace ask the device where its sound is.
#include <cstdint>
#include <optional>

#include "core/AudioDevice.h"
#include "core/SessionState.h"

namespace zk {

// The device's position, in its own units; nullopt when it cannot tell.
std::optional<int32_t> Sound_Position(AudioDevice& audio);
// The device's position into st.AudioPosition; the device's return code.
int32_t Query_Position(AudioDevice& audio, SessionState& st);
// The length of the open track into st.AudioLength; the device's return code.
int32_t Query_Length(AudioDevice& audio, SessionState& st);

}  // namespace zk
