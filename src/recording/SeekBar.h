#pragma once
// The seek bar picFilePosition of the record/play panel and the banner clock it moves.
//
// SeekBar: the bar's mouse handlers. While a recording plays, a left click inside the play
// range seeks there (the player does the seeking); otherwise a left drag marks a new play
// range and a right click takes the whole file. The time label, the tooltip and the clock
// follow the mouse.
//
// RecordingClock: the banner clock during playback and seeking shows the recording's time
// of day; once a range is marked it goes back to the present time.
#include <cstdint>
#include <functional>

#include "core/Context.h"
#include "core/TransportView.h"
#include "recording/PlayRange.h"

namespace zk {

class RecordingClock {
 public:
  explicit RecordingClock(Context& ctx) : ctx_(ctx) {}
  // `seconds` after the midnight of the recording's day (a recording may run past midnight).
  void Show_Recording_Clock(int32_t seconds);
  void Show_Present_Clock();

 private:
  Context& ctx_;
};

class SeekBar {
 public:
  // `seek` moves a running playback to record k, which lies in the play range.
  SeekBar(Context& ctx, TransportView& bar, PlayRange& range, RecordingClock& clock, std::function<void(int32_t)> seek);

  // x in the bar's scale units (0..SeekBar_ScaleWidth); button 1 left, 2 right.
  void picFilePosition_MouseDown(int button, float x);
  void picFilePosition_MouseMove(int button, float x);
  void picFilePosition_MouseUp(int button, float x);

  // Record k from another view of the recording (the overview, the tag keys), by the bar's
  // rules. Playing or paused: the play position moves to k, and a k outside the play range
  // is ignored as a click outside the range box is. Stopped: the play range runs from k to
  // the end of the file, as after a click without a drag.
  void Seek_To_Record(int32_t k);
  // Stopped: the play range first..last, as a drag over the bar selects one.
  void Select_Range(int32_t first, int32_t last);

 private:
  Context& ctx_;
  TransportView& bar_;
  PlayRange& range_;
  RecordingClock& clock_;
  std::function<void(int32_t)> seek_;
};

}  // namespace zk
