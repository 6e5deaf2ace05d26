#include "recording/PlayRange.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/Numbers.h"
#include "core/ControlNames.h"

namespace zk {

void Show_Recording_Length(Context& ctx, int32_t seconds, int32_t skipFromSeconds) {
  SessionState& st = ctx.state;
  ctx.controls.SetCaption(ctl::lblPlayTime, Format_Time(0, st.TotalTimeMs));
  ctx.controls.SetCaption(ctl::lblTotalTime, Format_Time(seconds, st.TotalTimeMs));
  st.SkipSeconds = Skip_Seconds(skipFromSeconds);
}

namespace {
const SampleRecord NoRecord{};
}  // namespace

int32_t PlayRange::Units(const SessionState& st) { return st.PlayUnitsPerSecond > 0 ? st.PlayUnitsPerSecond : 1000; }

int32_t PlayRange::Width() const { return std::max(1, bar_.SeekBar_ScaleWidth()); }

const SampleRecord& PlayRange::Record(int32_t k) const {
  const SessionState& st = ctx_.state;
  const int32_t last = Records_Held(st);
  if (last < 1) return NoRecord;
  return st.RecordBuffer[static_cast<std::size_t>(std::clamp(k, 1, last))];
}

int32_t PlayRange::Record_Position(int32_t k) const {
  const double pos = double(Units(ctx_.state)) / 1000.0 * Record(k).TimeMs;
  // A damaged time far beyond any track stays a position the device can be given.
  return TryCInt32(pos).value_or(pos < 0 ? 0 : std::numeric_limits<int32_t>::max());
}

void PlayRange::Normalize_Range() {
  SessionState& st = ctx_.state;
  const int32_t n = std::max(1, st.RecordCount);
  st.RangeStartIndex = std::clamp(st.RangeStartIndex, 1, n);
  if (st.RangeEndIndex < 1 || st.RangeEndIndex > n) st.RangeEndIndex = n;
  st.RangeEndIndex = std::max(st.RangeEndIndex, st.RangeStartIndex);
}

int32_t PlayRange::Clamp_To_Range(int32_t k) const {
  return std::clamp(k, ctx_.state.RangeStartIndex, ctx_.state.RangeEndIndex);
}

int32_t PlayRange::X_Of(int32_t k) const {
  return static_cast<int32_t>(std::floor(double(k) * Width() / std::max(1, ctx_.state.RecordCount)));
}

int32_t PlayRange::Record_At(double x) const {
  const SessionState& st = ctx_.state;
  const int32_t k = CInt32(x / Width() * st.RecordCount);
  return std::clamp(k, 1, std::max(1, st.RecordCount));
}

std::string PlayRange::Time_At(double x) const {
  const SessionState& st = ctx_.state;
  return Format_Time(CInt32(x / Width() * st.TotalTimeMs / 1000.0), st.TotalTimeMs);
}

std::string PlayRange::Time_Of(int32_t position) const {
  const SessionState& st = ctx_.state;
  return Format_Time(CInt32(double(position) / Units(st)), st.TotalTimeMs);
}

void PlayRange::Draw_Range_Box() {
  const SessionState& st = ctx_.state;
  bar_.SeekBar_Box(st.RangeStartX, 0, st.RangeEndX, 100, bar_.ButtonFaceColor());
  progressEnd_ = -1;
}

void PlayRange::Draw_Progress() {
  const SessionState& st = ctx_.state;
  if (st.RecordCount < 1) return;
  const double end = double(st.RecordIndex) / st.RecordCount * Width();
  // Drawn when it has grown by a unit of the bar; the bar's pixels are coarser still.
  if (std::floor(end) == std::floor(progressEnd_)) return;
  progressEnd_ = end;
  bar_.SeekBar_Box(st.RangeStartX, 25, end, 75, bar_.HighlightColor());
}

}  // namespace zk
