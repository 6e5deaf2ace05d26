// The player's skipping and seeking: the skip buttons, a click on the seek bar while
// playing, and tmrSkip, which lets the sound go on from the new place once the skips stop.
#include "base/Numbers.h"
#include "base/RecordingCodes.h"
#include "base/RecordingRates.h"
#include "core/ControlNames.h"
#include "recording/PlayRange.h"
#include "recording/Player.h"

namespace zk {

void Player::Skip_By(int32_t records) {
  SessionState& st = ctx_.state;
  if (st.RecordCount < 1) return;
  IntervalTimer& skip = ctx_.timers.tmrSkip;
  if (!skip.Enabled()) st.MciResult = ctx_.audio.Pause();
  skip.Stop();
  skip.Start();
  range_.Normalize_Range();
  int32_t k = st.RecordIndex + records;
  if (records > 0 && k > st.RangeEndIndex) k = st.RangeEndIndex - RecordsPerSecond;
  st.RecordIndex = range_.Clamp_To_Range(k);
  Show_Record_Position();
  st.SeekPending = true;
}

void Player::cmdFwd_Click() { Skip_By(Skip_Records(ctx_.state)); }

void Player::cmdRev_Click() { Skip_By(-Skip_Records(ctx_.state)); }

void Player::Seek_To(int32_t k) {
  SessionState& st = ctx_.state;
  range_.Normalize_Range();
  st.RecordIndex = range_.Clamp_To_Range(k);
  Show_Record_Position();
  st.SeekPending = true;
  if (st.PlayState == PlayPlaying) {
    st.MciResult = ctx_.audio.PlayFrom(st.AudioPosition);
    stall_.Reset();
  }
}

void Player::Show_Record_Position() {
  SessionState& st = ctx_.state;
  st.WorkRecord = range_.Record(st.RecordIndex);
  st.AudioPosition = range_.Record_Position(st.RecordIndex);
  ctx_.controls.SetCaption(ctl::lblPlayTime, Format_Time(st.AudioPosition / PlayRange::Units(st), st.TotalTimeMs));
}

void Player::tmrSkip_Timer() {
  SessionState& st = ctx_.state;
  ctx_.timers.tmrSkip.Stop();
  if (st.OperatingMode != ModePlayback) return;
  st.WorkRecord = range_.Record(st.RecordIndex);
  st.AudioPosition = range_.Record_Position(st.RecordIndex);
  if (st.PlayState == PlayPlaying) st.MciResult = ctx_.audio.PlayFrom(st.AudioPosition);
}

}  // namespace zk
