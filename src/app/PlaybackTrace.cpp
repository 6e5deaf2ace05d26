#include "app/PlaybackTrace.h"

#include <cstdlib>
#include <optional>

#include "core/SoundQueries.h"

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
  const std::optional<int32_t> pos = Sound_Position(ctx_.audio);
  if (!pos || st.PlayUnitsPerSecond <= 0) return;
  const long long soundMs = static_cast<long long>(*pos) * 1000 / st.PlayUnitsPerSecond;
  std::fprintf(file_, "%d %lld\n", st.WorkRecord.TimeMs, soundMs);
  std::fflush(file_);
}

}  // namespace zk
