#include "app/PlaybackTrace.h"

#include <cstdlib>

namespace zk {

PlaybackTrace::PlaybackTrace(Context& ctx, Player& player) : ctx_(ctx) {
  const char* path = std::getenv("ZK_PLAYBACK_TRACE");
  if (!path || !*path) return;
  file_ = std::fopen(path, "w");
  if (file_) player.SetShownHook([this] { Shown(); });
}

PlaybackTrace::~PlaybackTrace() {
  if (file_) std::fclose(file_);
}

void PlaybackTrace::Shown() {
  const SessionState& st = ctx_.state;
  int32_t pos = 0;
  if (ctx_.audio.Position(pos) != 0 || st.PlayUnitsPerSecond <= 0) return;
  const long long soundMs = static_cast<long long>(pos) * 1000 / st.PlayUnitsPerSecond;
  std::fprintf(file_, "%d %lld\n", st.WorkRecord.TimeMs, soundMs);
  std::fflush(file_);
}

}  // namespace zk
