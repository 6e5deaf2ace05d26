#pragma once
// The play range and the positions in the recording in memory: the records by number, the
// sound position of each, the range kept inside the file and records kept inside the range,
// the record and the time under a point of the seek bar, and the two things drawn on the
// seek bar from them — the range box and the progress bar of a playback.
//
// The range itself lives in the session state (RangeStartIndex/RangeEndIndex in records,
// RangeStartX/RangeEndX in the seek bar's scale units); the player and the seek bar share
// one PlayRange. Beside it, how far one press of the skip buttons moves, and the panel's
// time labels that are shown with it.
#include <cstdint>
#include <string>

#include "base/RecordingRates.h"
#include "core/Context.h"
#include "core/TransportView.h"

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

class PlayRange {
 public:
  PlayRange(Context& ctx, TransportView& bar) : ctx_(ctx), bar_(bar) {}

  // Position units per second of the open track; a track that reports none counts in ms.
  static int32_t Units(const SessionState& st);
  // The seek bar's scale width, at least 1.
  int32_t Width() const;

  // Record k of the recording in memory, k kept to 1..RecordCount; an empty record when
  // there is none.
  const SampleRecord& Record(int32_t k) const;
  // Audio position of record k, in the open track's units.
  int32_t Record_Position(int32_t k) const;

  // The play range inside the file, its end not before its start; an end of 0 means the
  // end of the file.
  void Normalize_Range();
  // k kept inside the play range.
  int32_t Clamp_To_Range(int32_t k) const;
  // The record under seek-bar x, 1..RecordCount.
  int32_t Record_At(double x) const;
  // The seek-bar x of record k (the reverse of Record_At, to a unit of the bar).
  int32_t X_Of(int32_t k) const;
  // The recording's time under seek-bar x, as lblPlayTime shows it.
  std::string Time_At(double x) const;
  // The time of sound position `position`, rounded to the second, as lblPlayTime shows it.
  std::string Time_Of(int32_t position) const;

  // The range box over the bar's full height; the progress bar starts again.
  void Draw_Range_Box();
  // The progress bar from the range start to the record being played, drawn when it has
  // grown by a unit of the bar.
  void Draw_Progress();
  // The next Draw_Progress draws whatever it finds.
  void Forget_Progress() { progressEnd_ = -1; }

 private:
  Context& ctx_;
  TransportView& bar_;
  double progressEnd_ = -1;  // right end of the progress bar last drawn
};

}  // namespace zk
