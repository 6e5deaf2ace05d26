#include "core/AudioDevice.h"

namespace zk {

const char* AudioModeText(AudioMode m) {
  switch (m) {
    case AudioMode::Playing: return "playing";
    case AudioMode::Paused: return "paused";
    case AudioMode::Stopped: return "stopped";
    case AudioMode::Recording: return "recording";
    case AudioMode::NotReady: return "not ready";
  }
  return "not ready";
}

}  // namespace zk
