#pragma once
// Picks the program's audio device: sound through the machine's default input and output
// when they exist, otherwise a device that keeps time with the clock — it records silence
// and "plays" without sound, so recording and playback never wait for a sound card.
#include <functional>
#include <memory>
#include <string>

#include "base/Clock.h"
#include "core/AudioDevice.h"

namespace zk {

// Called with a sentence for the user when a recording or a playback goes without sound:
// at most once for the input and once for the output of a device. It is called from
// within a command (open, record, play, pause, stop, seek, save, close), never from a
// position or mode query, so a modal message box is safe there.
using AudioNotice = std::function<void(const std::string& text)>;

// Real input and output where the machine has them, the clock where it has not. Needs a
// QCoreApplication. `clock` must outlive the device. A new recording's sound is kept in a
// scratch file in `scratchFolder` (empty: the system's temporary folder).
std::unique_ptr<AudioDevice> MakeAudioDevice(Clock& clock, AudioNotice notice = {},
                                             const std::string& scratchFolder = "");

// The clock-only device (no sound at all). Needs no Qt application object.
std::unique_ptr<AudioDevice> MakeNullAudioDevice(Clock& clock, AudioNotice notice = {});

}  // namespace zk
