#include "recording/SeekBar.h"

#include <algorithm>
#include <cmath>

#include "base/Numbers.h"
#include "base/RecordingCodes.h"
#include "core/ControlNames.h"

namespace zk {

namespace {
constexpr int StartButtonX = 10;  // a range pressed closer to the left end starts at the beginning

// Left mouse button and right mouse button as the seek bar reports them.
constexpr int LeftButton = 1, RightButton = 2;
}  // namespace

void RecordingClock::Show_Recording_Clock(int32_t seconds) {
  const int32_t t = ((seconds % 86400) + 86400) % 86400;  // a recording may run past midnight
  int16_t h = static_cast<int16_t>(t / 3600), m = static_cast<int16_t>((t / 60) % 60), s = 0;
  ctx_.view.Update_Clock(h, m, s, ctx_.state.RecordDate);
}

void RecordingClock::Show_Present_Clock() {
  const DateTime now = ctx_.clock.Now();
  int16_t h = static_cast<int16_t>(now.hour), m = static_cast<int16_t>(now.minute),
          s = static_cast<int16_t>(now.second);
  ctx_.view.Update_Clock(h, m, s, DateSerial(now.year, now.month, now.day));
}

SeekBar::SeekBar(Context& ctx, TransportView& bar, PlayRange& range, RecordingClock& clock,
                 std::function<void(int32_t)> seek)
    : ctx_(ctx), bar_(bar), range_(range), clock_(clock), seek_(std::move(seek)) {}

void SeekBar::picFilePosition_MouseDown(int button, float xIn) {
  SessionState& st = ctx_.state;
  if (st.RecordCount < 1) return;
  const double x = std::floor(xIn);
  if (st.OperatingMode == ModePlayback) {
    if (button != LeftButton || x < st.RangeStartX || x > st.RangeEndX) return;
    seek_(range_.Record_At(x));
    return;
  }
  if (button == LeftButton) {
    ctx_.controls.SetCaption(ctl::lblPlayTime, range_.Time_At(x));
    st.RangeStartX = 0;
    st.RangeStartIndex = 1;
    bar_.SeekBar_Clear();
    bar_.SeekBar_SetCurrentX(x);
    if (x >= StartButtonX) {
      st.RangeStartX = static_cast<int32_t>(x);
      st.RangeStartIndex = range_.Record_At(st.RangeStartX);
    }
    st.WorkRecord = range_.Record(st.RangeStartIndex);
    st.ElapsedSecs = st.WorkRecord.TimeMs / 1000;
    clock_.Show_Recording_Clock(st.RecordStartSeconds + st.ElapsedSecs);
  } else if (button == RightButton) {
    st.RangeStartX = 0;
    st.RangeStartIndex = 1;
    st.RangeEndX = range_.Width();
    st.RangeEndIndex = st.RecordCount;
    ctx_.shell.Update_Command_State();
  }
}

void SeekBar::picFilePosition_MouseMove(int button, float xIn) {
  SessionState& st = ctx_.state;
  const double x = std::clamp<double>(xIn, 0, range_.Width());
  ctx_.controls.SetToolTip(ctl::picFilePosition, range_.Time_At(x));
  if (st.OperatingMode == ModePlayback || button != LeftButton || st.RecordCount < 1) return;
  ctx_.controls.SetCaption(ctl::lblPlayTime, range_.Time_At(x));
  if (x > st.RangeStartX) bar_.SeekBar_Box(st.RangeStartX, 0, x, 100, bar_.ButtonFaceColor());
  st.ElapsedSecs = range_.Record(range_.Record_At(x)).TimeMs / 1000;
  clock_.Show_Recording_Clock(st.RecordStartSeconds + st.ElapsedSecs);
}

void SeekBar::picFilePosition_MouseUp(int button, float xIn) {
  SessionState& st = ctx_.state;
  if (st.OperatingMode == ModePlayback || st.RecordCount < 1) return;
  const int32_t w = range_.Width();
  if (button == LeftButton) {
    const double x = std::clamp<double>(xIn, 0, w);
    if (x > st.RangeStartX + w / 100) {
      st.RangeEndX = std::min<int32_t>(static_cast<int32_t>(std::floor(x)), w);
      st.RangeEndIndex = range_.Record_At(st.RangeEndX);
    } else {
      // A click without a drag: the range runs to the end of the file.
      st.RangeEndX = w;
      st.RangeEndIndex = st.RecordCount;
    }
    range_.Normalize_Range();
  }
  ctx_.controls.SetCaption(ctl::lblPlayTime, range_.Time_At(st.RangeStartX));
  bar_.SeekBar_Clear();
  range_.Draw_Range_Box();
  clock_.Show_Present_Clock();
}

void SeekBar::Seek_To_Record(int32_t k) {
  SessionState& st = ctx_.state;
  if (st.RecordCount < 1) return;
  k = std::clamp(k, 1, st.RecordCount);
  if (st.OperatingMode == ModePlayback) {
    range_.Normalize_Range();
    if (k >= st.RangeStartIndex && k <= st.RangeEndIndex) seek_(k);
    return;
  }
  Select_Range(k, st.RecordCount);
}

void SeekBar::Select_Range(int32_t first, int32_t last) {
  SessionState& st = ctx_.state;
  if (st.RecordCount < 1 || st.OperatingMode == ModePlayback) return;
  st.RangeStartIndex = std::clamp(first, 1, st.RecordCount);
  st.RangeEndIndex = std::clamp(last, st.RangeStartIndex, st.RecordCount);
  st.RangeStartX = st.RangeStartIndex == 1 ? 0 : range_.X_Of(st.RangeStartIndex);
  st.RangeEndX = st.RangeEndIndex == st.RecordCount ? range_.Width() : range_.X_Of(st.RangeEndIndex);
  st.WorkRecord = range_.Record(st.RangeStartIndex);
  ctx_.controls.SetCaption(ctl::lblPlayTime, Format_Time(st.WorkRecord.TimeMs / 1000, st.TotalTimeMs));
  bar_.SeekBar_Clear();
  range_.Draw_Range_Box();
  clock_.Show_Present_Clock();
}

}  // namespace zk
