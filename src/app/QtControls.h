#pragma once
// The window's named controls over Qt: menu items are QActions, everything else a
// QWidget. A control array element is registered under its name and index; a single
// control under index -1.
#include <QAction>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/Controls.h"

namespace zk {

class QtControls : public Controls {
 public:
  void Add(const std::string& name, int index, QAction* action);
  void Add(const std::string& name, int index, QWidget* widget);
  void Add(const std::string& name, QAction* a) { Add(name, -1, a); }
  void Add(const std::string& name, QWidget* w) { Add(name, -1, w); }

  QAction* Action(std::string_view name, int index = -1) const;
  QWidget* Widget(std::string_view name, int index = -1) const;
  bool Has(std::string_view name, int index = -1) const;
  // Every registered control, by name and index.
  std::vector<std::pair<std::string, int>> Names() const;
  // Called with a name and index nothing is registered under (which the control
  // methods otherwise ignore); tests fail on it. Without one a debug build stops there.
  std::function<void(std::string_view name, int index)> onUnknown;
  std::string Picture(std::string_view name, int index = -1) const;

  // Controls: an unknown name is ignored (set) or reads as unchecked, disabled,
  // hidden and empty (get), after onUnknown.
  void SetChecked(std::string_view name, int index, bool on) override;
  bool Checked(std::string_view name, int index) const override;
  void SetEnabled(std::string_view name, int index, bool on) override;
  bool Enabled(std::string_view name, int index) const override;
  void SetVisible(std::string_view name, int index, bool on) override;
  bool Visible(std::string_view name, int index) const override;
  void SetCaption(std::string_view name, int index, const std::string& text) override;
  std::string Caption(std::string_view name, int index) const override;
  void SetToolTip(std::string_view name, int index, const std::string& text) override;
  std::string ToolTip(std::string_view name, int index) const override;
  void SetPicture(std::string_view name, int index, const std::string& imageKey) override;
  void SetForeColor(std::string_view name, int index, int32_t color) override;
  void SetFocus(std::string_view name, int index) override;
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
  struct Entry {
    QPointer<QAction> action;
    QPointer<QWidget> widget;
    std::string picture;
  };
  using Key = std::pair<std::string, int>;
  // The entry of a name and index; nullptr (after onUnknown) when there is none.
  const Entry* Find(std::string_view name, int index) const;
  static QAction* ActionOf(const Entry* e) { return e ? e->action.data() : nullptr; }
  static QWidget* WidgetOf(const Entry* e) { return e ? e->widget.data() : nullptr; }
  Entry* Find(std::string_view name, int index);
  std::map<Key, Entry, std::less<>> items_;
};

}  // namespace zk
