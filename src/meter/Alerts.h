#pragma once
// The indicator lamp's timers, the automatic re-SET of a needle beyond the traditional
// scale, the freeze toggle and the menu handlers of the alert settings.
//
// The timers' handlers are connected by Connect_Timers(), not by the constructor: call it
// once, from the object that owns the window's timers (frmMain), so that a second Alerts
// (a tool, a test) never steals the handlers.
#include "core/CommandTable.h"
#include "core/Context.h"

namespace zk {

class Alerts {
 public:
  explicit Alerts(Context& ctx);

  // tmrLED -> tmrLED_Timer, tmrFall -> tmrFall_Timer, tmrRise -> tmrRise_Timer.
  void Connect_Timers();
  // The alert items of the Settings menu.
  void Register_Commands(CommandTable& commands);

  void tmrLED_Timer();   // 300 ms after a SET: lamp off
  void tmrFall_Timer();  // needle above the scale for 1 s: SET request
  void tmrRise_Timer();  // needle below the scale for 0.4 s: SET request

  // Settings > Alerts > Body Motion Detector: 1 "Fine" 30, 2 "Medium" 50, 3 "Coarse" 100.
  void mnuSettingsBodyMotionThreshold_Click(int index);
  // Settings > Alerts > Body Motion Freeze On / Off.
  void mnuSetBmFreezeOn_Click();
  void mnuSetBmFreezeOff_Click();
  // Settings > Alerts > Needle Lag: index 1..5 -> LagMessages 1..5.
  void mnuSettingsLagThreshold_Click(int index);
  // Settings > External Switch: 1 "Needle SET", 2 "Tag" (lblTag shown only for Tag).
  void mnuSettingsExtSwMode_Click(int index);
  // Settings > Needle BD Counter On / Off.
  void mnuSetNeedleBDOn_Click();
  void mnuSetNeedleBDOff_Click();

  // Flips FreezeEnable and its two check marks and shows "Freeze ON" / "Freeze OFF" for a
  // second. The caller (the "F" key) checks first that no short message is showing and
  // that the freeze menu is enabled.
  void Toggle_Freeze();

 private:
  void Set_Freeze(bool on);
  Context& ctx_;
};

}  // namespace zk
