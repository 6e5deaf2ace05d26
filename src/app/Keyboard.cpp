#include "app/Keyboard.h"

#include "meter/SensitivityTable.h"

namespace zk {

void Keyboard::Form_KeyDown(int& keyCode, bool shiftHeld) {
  // The arrows step the sensitivity before the repeat guard, so holding one keeps stepping.
  if (keyCode == vk::Up) Go_Up(ctx_);
  if (keyCode == vk::Down) Go_Down(ctx_);

  int code = keyReleased_ ? keyCode : 0;
  if (code != vk::Shift && code != 0) keyReleased_ = false;

  Controls& c = ctx_.controls;
  SessionState& st = ctx_.state;
  switch (code) {
    case vk::Space:
    case vk::Insert: st.NeedleSetRequest = true; break;
    case vk::C: counters_.Toggle_BdCount(); break;
    case vk::Z: counters_.Reset_Bd(); break;
    case vk::F:
      if (!ctx_.timers.tmrMessage.Enabled() && c.Enabled("mnuSettingsBmFreeze")) alerts_.Toggle_Freeze();
      break;
    case vk::R:
      if (c.Enabled("cmdRecord")) actions_.cmdRecord_Click();
      break;
    case vk::S:
      if (c.Enabled("cmdStop")) actions_.cmdStop_Click();
      break;
    case vk::P:
      if (c.Enabled("cmdPlay")) actions_.cmdPlay_Click();
      break;
    case vk::T:
      if (st.OperatingMode == ModeRecording) counters_.Count_Tag();
      break;
    case vk::Comma:
      if (shiftHeld && c.Enabled("cmdRev")) actions_.cmdRev_Click();
      break;
    case vk::Period:
      if (shiftHeld && c.Enabled("cmdFwd")) actions_.cmdFwd_Click();
      break;
    case vk::O:
      if (c.Enabled("cmdLoad")) actions_.cmdLoad_Click();
      break;
    case vk::L:
      if (c.Enabled("cmdLoad")) actions_.cmdLoad_RightClick();
      break;
    case vk::BracketRight: actions_.Next_Tag(); break;
    case vk::BracketLeft: actions_.Previous_Tag(); break;
    default: break;
  }
  keyCode = 0;
}

void Keyboard::Form_KeyUp(int) { keyReleased_ = true; }

}  // namespace zk
