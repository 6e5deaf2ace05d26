#pragma once
// How far one press of the skip buttons moves through a recording of a given length, and the
// panel's time labels that are shown with it.
#include <cstdint>

#include "core/Context.h"
#include "core/RecordingRates.h"

namespace zk {

// 10 s for recordings under 10 minutes, 15 s under 30 minutes, 30 s under an hour, else 60 s.
constexpr int16_t Skip_Seconds(int32_t totalSeconds) {
  if (totalSeconds < 600) return 10;
  if (totalSeconds < 1800) return 15;
  if (totalSeconds < 3600) return 30;
  return 60;
}

// Records one press of the skip buttons moves. A recording that got no skip length (one
// kept in memory after a recording without sound) takes the one its length gives.
inline int32_t Skip_Records(const SessionState& st) {
  const int32_t secs = st.SkipSeconds > 0 ? st.SkipSeconds : Skip_Seconds(st.TotalTimeMs / 1000);
  return secs * RecordsPerSecond;
}

// The panel for a recording in memory of TotalTimeMs: lblPlayTime at 0, lblTotalTime at
// `seconds`, and the skip length (SkipSeconds) for a recording of `skipFromSeconds`.
void Show_Recording_Length(Context& ctx, int32_t seconds, int32_t skipFromSeconds);

}  // namespace zk
