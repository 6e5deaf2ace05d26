#include "recording/RecordTimeBase.h"

#include "base/Numbers.h"
#include "base/RecordingRates.h"
#include "core/ControlNames.h"
#include "core/SoundQueries.h"

namespace zk {

void RecordTimeBase::Burst_Read() {
  SessionState& st = ctx_.state;
  if (st.OperatingMode != ModeRecording) {
    st.AudioSecsSeen = 0;
    st.ElapsedSecs = 0;
    shownSecs_ = -1;
    return;
  }
  if (ctx_.settings.AudioEnable) {
    if (Query_Position(ctx_.audio, st) != 0) return;
    const int32_t position = st.AudioPosition;
    // 22050 samples/s of 16-bit mono: 44100 bytes per second of sound.
    const auto whole = static_cast<int32_t>(IntDiv(position, SoundBytesPerSecond));
    // The message count runs on through the seconds: the records are timed from it and
    // from this position (RecordClock), not from the second a message falls in.
    if (whole > st.AudioSecsSeen) {
      st.AudioSecsSeen = whole;
      st.ElapsedSecs = whole - 1;
      ctx_.controls.SetCaption(ctl::lblPlayTime, Format_Time(whole - 1, st.TotalTimeMs));
    }
  } else {
    const auto secs = static_cast<int32_t>(IntDiv(st.RecSampleCount, RecordsPerSecond));
    if (secs == shownSecs_) return;
    shownSecs_ = secs;
    ctx_.controls.SetCaption(ctl::lblPlayTime, Format_Time(secs, st.TotalTimeMs));
  }
}

}  // namespace zk
