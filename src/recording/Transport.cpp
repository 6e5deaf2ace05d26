#include "recording/Transport.h"

#include "base/RecordingCodes.h"
#include "core/Banner.h"
#include "core/ControlNames.h"

namespace zk {

void Transport::cmdStop_Click() {
  if (stopping_) return;
  stopping_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{stopping_};
  SessionState& st = ctx_.state;
  if (st.OperatingMode == ModeRecording) {
    if (recorder_) recorder_->Stop();
  } else if (st.OperatingMode == ModePlayback || st.PlayState == PlayPaused) {
    if (player_) player_->Stop();
  }
  Stop_Tail();
}

void Transport::Stop_Tail() {
  SessionState& st = ctx_.state;
  const Settings& s = ctx_.settings;
  Controls& c = ctx_.controls;
  st.PlayState = PlayStopped;
  for (const char* menu :
       {ctl::mnuFile, ctl::mnuConnection, ctl::mnuRecording, ctl::mnuViewRecording, ctl::mnuViewMeter})
    c.SetEnabled(menu, true);
  st.RecordIndex = 1;
  if ((!s.SavePath.empty() || s.RecordingMode == RecManual) && s.CommPort != 0) c.SetEnabled(ctl::cmdRecord, true);
  view_.SeekBar_Clear();
  view_.SeekBar_Box(st.RangeStartX, 0, st.RangeEndX, 100, view_.ButtonFaceColor());
  Set_Banner(ctx_, st.StatusWanted, s.Text_Color);
  ctx_.shell.Update_Command_State();
  c.SetEnabled(ctl::picRecord, true);
}

}  // namespace zk
