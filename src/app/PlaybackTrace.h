#pragma once
// A measuring aid: with ZK_PLAYBACK_TRACE=FILE in the environment, every record the player
// shows adds a line "TimeMs SoundMs" to FILE — the record's time and the sound clock's
// position just after it was drawn — so a test can tell how late records reach the meter.
#include <cstdio>
#include <memory>

#include "core/Context.h"
#include "recording/Player.h"

namespace zk {

class PlaybackTrace {
 public:
  // Hooks into `player` when the environment asks for a trace.
  PlaybackTrace(Context& ctx, Player& player);
  ~PlaybackTrace();
  PlaybackTrace(const PlaybackTrace&) = delete;
  PlaybackTrace& operator=(const PlaybackTrace&) = delete;

 private:
  void Shown();
  Context& ctx_;
  std::FILE* file_ = nullptr;
};

}  // namespace zk
