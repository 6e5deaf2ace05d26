#pragma once
// The operator's keys: sensitivity, needle SET, the BD counter, freeze, tags and the
// transport buttons. Keys arrive as virtual-key codes (letters as their capital).
#include <cstdint>
#include <string_view>

#include "core/Context.h"
#include "meter/Alerts.h"
#include "meter/Counters.h"

namespace zk {

namespace vk {
constexpr int Shift = 16, Space = 32, Insert = 45, Up = 38, Down = 40;
constexpr int C = 67, F = 70, L = 76, O = 79, P = 80, R = 82, S = 83, T = 84, Z = 90;
constexpr int Comma = 188, Period = 190;
constexpr int BracketLeft = 219, BracketRight = 221;
}  // namespace vk

// Every key Form_KeyDown acts on, with the Shift it wants; any other key does nothing.
// The same table names each key for the user (Help > Keyboard, the menus' key hints):
// `keys` as the key reads, `does` what it does, `menuItems` the menu items that do the
// same and show the key beside them.
struct KeyUse {
  int code;
  bool shift;
  const char* keys;
  const char* does;
  const char* menuItems[2] = {nullptr, nullptr};
};
inline constexpr KeyUse KeyTable[] = {
    {vk::Up, false, "Up", "Sensitivity one step up (held: keeps stepping)"},
    {vk::Down, false, "Down", "Sensitivity one step down (held: keeps stepping)"},
    {vk::Space, false, "Space", "Needle SET: the next reading centres the needle"},
    {vk::Insert, false, "Ins", "Needle SET, as Space"},
    {vk::C, false, "C", "BD counter on or off"},
    {vk::Z, false, "Z", "BD counter to zero"},
    {vk::F, false, "F", "Body motion freeze on or off", {"mnuSetBmFreezeOn", "mnuSetBmFreezeOff"}},
    {vk::R, false, "R", "Record"},
    {vk::S, false, "S", "Stop"},
    {vk::P, false, "P", "Play or pause"},
    {vk::T, false, "T", "Count a tag (while recording)"},
    {vk::Comma, true, "<", "Rewind (Shift and comma)"},
    {vk::Period, true, ">", "Fast forward (Shift and full stop)"},
    {vk::O, false, "O", "Open a recording"},
    {vk::L, false, "L", "List the loaded recording's series"},
    {vk::BracketRight, false, "]", "Play position to the next tag", {"mnuRecNextTag"}},
    {vk::BracketLeft, false, "[", "Play position to the previous tag", {"mnuRecPrevTag"}}};

// The key text of the table's key for a menu item, or nullptr when no key does what it does.
constexpr const char* KeysOfMenuItem(std::string_view name) {
  for (const KeyUse& k : KeyTable)
    for (const char* item : k.menuItems)
      if (item && name == item) return k.keys;
  return nullptr;
}

// The record panel's buttons as the keys press them.
class KeyActions {
 public:
  virtual ~KeyActions() = default;
  virtual void cmdRecord_Click() = 0;
  virtual void cmdStop_Click() = 0;
  virtual void cmdPlay_Click() = 0;
  virtual void cmdRev_Click() = 0;
  virtual void cmdFwd_Click() = 0;
  virtual void cmdLoad_Click() = 0;
  // The load button's right click: the list of the loaded recording's series.
  virtual void cmdLoad_RightClick() = 0;
  // "]" and "[": the play position to the next or the previous tag.
  virtual void Next_Tag() {}
  virtual void Previous_Tag() {}
};

class Keyboard {
 public:
  Keyboard(Context& ctx, Alerts& alerts, Counters& counters, KeyActions& actions)
      : ctx_(ctx), alerts_(alerts), counters_(counters), actions_(actions) {}

  // shiftHeld: a Shift key is down. Afterwards the key counts as consumed.
  void Form_KeyDown(int& keyCode, bool shiftHeld);
  void Form_KeyUp(int keyCode);
  bool KeyReleased() const { return keyReleased_; }
  void SetKeyReleased(bool v) { keyReleased_ = v; }

 private:
  Context& ctx_;
  Alerts& alerts_;
  Counters& counters_;
  KeyActions& actions_;
  bool keyReleased_ = true;
};

}  // namespace zk
