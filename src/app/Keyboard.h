#pragma once
// The operator's keys: sensitivity, needle SET, the BD counter, freeze, tags and the
// transport buttons. Keys arrive as virtual-key codes (letters as their capital).
#include <cstdint>

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
struct KeyUse {
  int code;
  bool shift;
};
inline constexpr KeyUse KeyTable[] = {
    {vk::Up, false},         {vk::Down, false}, {vk::Space, false}, {vk::Insert, false},
    {vk::C, false},          {vk::Z, false},    {vk::F, false},     {vk::R, false},
    {vk::S, false},          {vk::P, false},    {vk::T, false},     {vk::Comma, true},
    {vk::Period, true},      {vk::O, false},    {vk::L, false},     {vk::BracketRight, false},
    {vk::BracketLeft, false}};

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
