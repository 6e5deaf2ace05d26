#pragma once
// The window's named controls and menu items as the procedures reach them: check marks,
// visibility, enabled state, captions, tooltips and button pictures, addressed by the
// control's name and, for control arrays, its index (-1 for a single control).
#include <cstdint>
#include <string>
#include <string_view>

namespace zk {

// The mouse buttons as the controls' mouse events number them.
enum MouseButtons : int { LeftMouseButton = 1, RightMouseButton = 2 };

class Controls {
 public:
  virtual ~Controls() = default;
  virtual void SetChecked(std::string_view name, int index, bool on) = 0;
  virtual bool Checked(std::string_view name, int index) const = 0;
  virtual void SetEnabled(std::string_view name, int index, bool on) = 0;
  virtual bool Enabled(std::string_view name, int index) const = 0;
  virtual void SetVisible(std::string_view name, int index, bool on) = 0;
  virtual bool Visible(std::string_view name, int index) const = 0;
  virtual void SetCaption(std::string_view name, int index, const std::string& text) = 0;
  virtual std::string Caption(std::string_view name, int index) const = 0;
  virtual void SetToolTip(std::string_view name, int index, const std::string& text) = 0;
  virtual std::string ToolTip(std::string_view name, int index) const = 0;
  virtual void SetPicture(std::string_view name, int index, const std::string& imageKey) = 0;
  // Text colour of a label (0x00BBGGRR).
  virtual void SetForeColor(std::string_view name, int index, int32_t color) = 0;
  // Gives the control the keyboard focus.
  virtual void SetFocus(std::string_view name, int index) = 0;

  // Single controls.
  void SetChecked(std::string_view n, bool on) { SetChecked(n, -1, on); }
  bool Checked(std::string_view n) const { return Checked(n, -1); }
  void SetEnabled(std::string_view n, bool on) { SetEnabled(n, -1, on); }
  bool Enabled(std::string_view n) const { return Enabled(n, -1); }
  void SetVisible(std::string_view n, bool on) { SetVisible(n, -1, on); }
  bool Visible(std::string_view n) const { return Visible(n, -1); }
  void SetCaption(std::string_view n, const std::string& t) { SetCaption(n, -1, t); }
  std::string Caption(std::string_view n) const { return Caption(n, -1); }
  void SetToolTip(std::string_view n, const std::string& t) { SetToolTip(n, -1, t); }
  std::string ToolTip(std::string_view n) const { return ToolTip(n, -1); }
  void SetForeColor(std::string_view n, int32_t color) { SetForeColor(n, -1, color); }
  void SetFocus(std::string_view n) { SetFocus(n, -1); }
};

}  // namespace zk
