#include "meter/Counters.h"

#include <string>

#include "core/ControlNames.h"

namespace zk {

void Show_TagCount(Context& ctx) { ctx.controls.SetCaption(ctl::lblTag, std::to_string(ctx.state.TagCount)); }

Counters::Counters(Context& ctx) : ctx_(ctx) {}

void Counters::Connect_Timers() {
  ctx_.timers.tmrBdMouseDown.SetHandler([this] { tmrBdMouseDown_Timer(); });
}

namespace {
// During playback the BD counter shows the recording's own state; the user's presses
// count only when the playback override is on.
bool Presses_Ignored(const SessionState& st) { return st.OperatingMode == ModePlayback && !st.PlaybackOverride; }
}  // namespace

void Counters::picBD_MouseDown() {
  if (Presses_Ignored(ctx_.state)) return;
  pressed_ = true;
  longPress_ = false;
  ctx_.timers.tmrBdMouseDown.Start();
}

void Counters::picBD_MouseUp() {
  ctx_.timers.tmrBdMouseDown.Stop();
  if (!pressed_) return;  // the press was ignored, or this is a stray release
  pressed_ = false;
  // After a long press the total was reset; the release does not toggle counting.
  if (!longPress_ && !Presses_Ignored(ctx_.state)) Toggle_BdCount();
  longPress_ = false;
}

void Counters::tmrBdMouseDown_Timer() {
  Reset_Bd();
  ctx_.timers.tmrBdMouseDown.Stop();
  longPress_ = true;
}

void Counters::Toggle_BdCount() {
  ctx_.state.BdCountEnabled = !ctx_.state.BdCountEnabled;
  ctx_.view.Update_BdDisplay(ctx_.state.BdText);
}

void Counters::Reset_Bd() {
  ctx_.state.BdTotal = 0;
  ctx_.state.BdText = "0.0";
  ctx_.view.Update_BdDisplay(ctx_.state.BdText);
}

void Counters::Count_Tag() {
  ++ctx_.state.TagCount;
  ctx_.state.TagChanged = true;
  Show_TagCount(ctx_);
}

}  // namespace zk
