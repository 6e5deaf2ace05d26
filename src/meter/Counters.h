#pragma once
// The blow-down (BD) counter's controls and the tag counter.
//
// A short click on picBD toggles counting; holding the button for 1.5 s (tmrBdMouseDown)
// resets the total instead. Connect_Timers() hooks tmrBdMouseDown to its handler; call it
// once, from the owner of the window's timers.
#include "core/Context.h"

namespace zk {

// lblTag shows TagCount as a plain whole number.
void Show_TagCount(Context& ctx);

class Counters {
 public:
  explicit Counters(Context& ctx);

  // tmrBdMouseDown -> tmrBdMouseDown_Timer.
  void Connect_Timers();

  // Mouse on picBD; ignored during playback unless PlaybackOverride is set.
  void picBD_MouseDown();
  void picBD_MouseUp();
  void tmrBdMouseDown_Timer();  // long press: reset, and the release will not toggle

  void Toggle_BdCount();  // the "C" key: counting on/off, readout redrawn
  void Reset_Bd();        // the "Z" key: BdTotal 0, "0.0", readout redrawn

  // One tag from the external switch (Tag mode) or the "T" key: TagCount + 1,
  // TagChanged, lblTag shows the count.
  void Count_Tag();

 private:
  Context& ctx_;
  bool pressed_ = false;    // the button went down on picBD and was not released yet
  bool longPress_ = false;  // tmrBdMouseDown fired during this press
};

}  // namespace zk
