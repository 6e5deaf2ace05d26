#include "app/QtControls.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "app/ButtonIcons.h"
#include "display/Surface.h"

namespace zk {

void QtControls::Add(const std::string& name, int index, QAction* action) {
  items_[{name, index}] = Entry{action, nullptr, {}};
}

void QtControls::Add(const std::string& name, int index, QWidget* widget) {
  items_[{name, index}] = Entry{nullptr, widget, {}};
}

const QtControls::Entry* QtControls::Find(std::string_view name, int index) const {
  auto it = items_.find(Key{std::string(name), index});
  return it == items_.end() ? nullptr : &it->second;
}

QtControls::Entry* QtControls::Find(std::string_view name, int index) {
  auto it = items_.find(Key{std::string(name), index});
  return it == items_.end() ? nullptr : &it->second;
}

QAction* QtControls::Action(std::string_view name, int index) const {
  const Entry* e = Find(name, index);
  return e ? e->action.data() : nullptr;
}

QWidget* QtControls::Widget(std::string_view name, int index) const {
  const Entry* e = Find(name, index);
  return e ? e->widget.data() : nullptr;
}

bool QtControls::Has(std::string_view name, int index) const { return Find(name, index) != nullptr; }

void QtControls::SetChecked(std::string_view name, int index, bool on) {
  if (QAction* a = Action(name, index)) {
    // A menu item only shows a check mark while it is ticked; an unticked one has no
    // empty box beside its caption.
    a->setCheckable(on);
    a->setChecked(on);
  } else if (auto* b = qobject_cast<QAbstractButton*>(Widget(name, index))) {
    const QSignalBlocker block(b);  // setting the value in code is not a click
    b->setChecked(on);
  }
}

bool QtControls::Checked(std::string_view name, int index) const {
  if (QAction* a = Action(name, index)) return a->isCheckable() && a->isChecked();
  if (auto* b = qobject_cast<QAbstractButton*>(Widget(name, index))) return b->isChecked();
  return false;
}

void QtControls::SetEnabled(std::string_view name, int index, bool on) {
  if (QAction* a = Action(name, index))
    a->setEnabled(on);
  else if (QWidget* w = Widget(name, index))
    w->setEnabled(on);
}

bool QtControls::Enabled(std::string_view name, int index) const {
  // The control's own property: a button on a disabled panel still reads as enabled.
  if (QAction* a = Action(name, index)) return a->isEnabled();
  if (QWidget* w = Widget(name, index)) return !w->testAttribute(Qt::WA_ForceDisabled);
  return false;
}

void QtControls::SetVisible(std::string_view name, int index, bool on) {
  if (QAction* a = Action(name, index))
    a->setVisible(on);
  else if (QWidget* w = Widget(name, index))
    w->setVisible(on);
}

bool QtControls::Visible(std::string_view name, int index) const {
  if (QAction* a = Action(name, index)) return a->isVisible();
  if (QWidget* w = Widget(name, index)) return !w->isHidden();
  return false;
}

void QtControls::SetCaption(std::string_view name, int index, const std::string& text) {
  const QString t = QString::fromStdString(text);
  if (QAction* a = Action(name, index)) {
    a->setText(t);
    return;
  }
  QWidget* w = Widget(name, index);
  if (auto* l = qobject_cast<QLabel*>(w))
    l->setText(t);
  else if (auto* b = qobject_cast<QAbstractButton*>(w))
    b->setText(t);
  else if (auto* g = qobject_cast<QGroupBox*>(w))
    g->setTitle(t);
  else if (auto* e = qobject_cast<QLineEdit*>(w))
    e->setText(t);
  else if (w)
    w->setWindowTitle(t);
}

std::string QtControls::Caption(std::string_view name, int index) const {
  if (QAction* a = Action(name, index)) return a->text().toStdString();
  QWidget* w = Widget(name, index);
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title().toStdString();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  return w ? w->windowTitle().toStdString() : std::string();
}

void QtControls::SetToolTip(std::string_view name, int index, const std::string& text) {
  const QString t = QString::fromStdString(text);
  if (QAction* a = Action(name, index))
    a->setToolTip(t);
  else if (QWidget* w = Widget(name, index))
    w->setToolTip(t);
}

std::string QtControls::ToolTip(std::string_view name, int index) const {
  if (QAction* a = Action(name, index)) return a->toolTip().toStdString();
  if (QWidget* w = Widget(name, index)) return w->toolTip().toStdString();
  return {};
}

void QtControls::SetPicture(std::string_view name, int index, const std::string& imageKey) {
  Entry* e = Find(name, index);
  if (!e) return;
  e->picture = imageKey;
  if (auto* b = qobject_cast<QAbstractButton*>(e->widget.data()))
    b->setIcon(ButtonIcon(imageKey));
  else if (e->action)
    e->action->setIcon(ButtonIcon(imageKey));
}

void QtControls::SetForeColor(std::string_view name, int index, int32_t color) {
  QWidget* w = Widget(name, index);
  if (!w) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, Surface::ToQColor(color));
  pal.setColor(QPalette::Text, Surface::ToQColor(color));
  w->setPalette(pal);
}

void QtControls::SetFocus(std::string_view name, int index) {
  if (QWidget* w = Widget(name, index)) w->setFocus(Qt::OtherFocusReason);
}

std::string QtControls::Picture(std::string_view name, int index) const {
  const Entry* e = Find(name, index);
  return e ? e->picture : std::string();
}

}  // namespace zk
