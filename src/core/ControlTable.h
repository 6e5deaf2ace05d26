#pragma once
// Controls without a window: a table of control states by name and index. Every control
// starts visible, enabled, unchecked and empty. The replay tool and the tests use it.
//
// Once names are declared, a use of any other name calls onUnknown: tests declare the
// window's controls and fail on a name the window does not have.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "core/Controls.h"

namespace zk {

class ControlTable : public Controls {
 public:
  struct State {
    bool checked = false, enabled = true, visible = true;
    std::string caption, toolTip, picture;
    int32_t foreColor = 0;
  };
  std::string focus;  // the name of the control that has the focus
  std::map<std::pair<std::string, int>, State> items;

  std::function<void(std::string_view name, int index)> onUnknown;
  void Declare(const std::string& n, int i) { declared_.insert({n, i}); }

  State& At(std::string_view n, int i) {
    Check(n, i);
    return items[{std::string(n), i}];
  }
  State Get(std::string_view n, int i) const {
    Check(n, i);
    auto it = items.find({std::string(n), i});
    return it == items.end() ? State{} : it->second;
  }
  void SetChecked(std::string_view n, int i, bool on) override { At(n, i).checked = on; }
  bool Checked(std::string_view n, int i) const override { return Get(n, i).checked; }
  void SetEnabled(std::string_view n, int i, bool on) override { At(n, i).enabled = on; }
  bool Enabled(std::string_view n, int i) const override { return Get(n, i).enabled; }
  void SetVisible(std::string_view n, int i, bool on) override { At(n, i).visible = on; }
  bool Visible(std::string_view n, int i) const override { return Get(n, i).visible; }
  void SetCaption(std::string_view n, int i, const std::string& t) override { At(n, i).caption = t; }
  std::string Caption(std::string_view n, int i) const override { return Get(n, i).caption; }
  void SetToolTip(std::string_view n, int i, const std::string& t) override { At(n, i).toolTip = t; }
  std::string ToolTip(std::string_view n, int i) const override { return Get(n, i).toolTip; }
  void SetPicture(std::string_view n, int i, const std::string& k) override { At(n, i).picture = k; }
  void SetForeColor(std::string_view n, int i, int32_t c) override { At(n, i).foreColor = c; }
  void SetFocus(std::string_view n, int i) override {
    Check(n, i);
    focus = std::string(n);
  }
  using Controls::Caption;
  using Controls::Checked;
  using Controls::Enabled;
  using Controls::SetCaption;
  using Controls::SetChecked;
  using Controls::SetEnabled;
  using Controls::SetFocus;
  using Controls::SetForeColor;
  using Controls::SetToolTip;
  using Controls::SetVisible;
  using Controls::ToolTip;
  using Controls::Visible;

 private:
  void Check(std::string_view n, int i) const {
    if (!declared_.empty() && onUnknown && !declared_.count({std::string(n), i})) onUnknown(n, i);
  }
  std::set<std::pair<std::string, int>> declared_;
};

}  // namespace zk
