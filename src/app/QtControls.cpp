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
  if (it != items_.end()) return &it->second;
  if (onUnknown) {
    onUnknown(name, index);
  } else {
#ifndef NDEBUG
    // A name no control has is a fault of the program: a debug build stops on it at once.
    qFatal("zodovaz: no control \"%.*s\" (index %d)", static_cast<int>(name.size()), name.data(), index);
#endif
  }
  return nullptr;
}

QtControls::Entry* QtControls::Find(std::string_view name, int index) {
  return const_cast<Entry*>(static_cast<const QtControls*>(this)->Find(name, index));
}

QAction* QtControls::Action(std::string_view name, int index) const { return ActionOf(Find(name, index)); }

QWidget* QtControls::Widget(std::string_view name, int index) const { return WidgetOf(Find(name, index)); }

bool QtControls::Has(std::string_view name, int index) const {
  return items_.find(Key{std::string(name), index}) != items_.end();
}

std::vector<std::pair<std::string, int>> QtControls::Names() const {
  std::vector<std::pair<std::string, int>> names;
  for (const auto& [key, entry] : items_) names.push_back(key);
  return names;
}

void QtControls::SetChecked(std::string_view name, int index, bool on) {
  const Entry* e = Find(name, index);
  if (QAction* a = ActionOf(e)) {
    // A menu item only shows a check mark while it is ticked; an unticked one has no
    // empty box beside its caption.
    a->setCheckable(on);
    a->setChecked(on);
  } else if (auto* b = qobject_cast<QAbstractButton*>(WidgetOf(e))) {
    const QSignalBlocker block(b);  // setting the value in code is not a click
    b->setChecked(on);
  }
}

bool QtControls::Checked(std::string_view name, int index) const {
  const Entry* e = Find(name, index);
  if (QAction* a = ActionOf(e)) return a->isCheckable() && a->isChecked();
  if (auto* b = qobject_cast<QAbstractButton*>(WidgetOf(e))) return b->isChecked();
  return false;
}

void QtControls::SetEnabled(std::string_view name, int index, bool on) {
  const Entry* e = Find(name, index);
  if (QAction* a = ActionOf(e))
    a->setEnabled(on);
  else if (QWidget* w = WidgetOf(e))
    w->setEnabled(on);
}

bool QtControls::Enabled(std::string_view name, int index) const {
  const Entry* e = Find(name, index);
  // The control's own property: a button on a disabled panel still reads as enabled.
  if (QAction* a = ActionOf(e)) return a->isEnabled();
  if (QWidget* w = WidgetOf(e)) return !w->testAttribute(Qt::WA_ForceDisabled);
  return false;
}

void QtControls::SetVisible(std::string_view name, int index, bool on) {
  const Entry* e = Find(name, index);
  if (QAction* a = ActionOf(e))
    a->setVisible(on);
  else if (QWidget* w = WidgetOf(e))
    w->setVisible(on);
}

bool QtControls::Visible(std::string_view name, int index) const {
  const Entry* e = Find(name, index);
  if (QAction* a = ActionOf(e)) return a->isVisible();
  if (QWidget* w = WidgetOf(e)) return !w->isHidden();
  return false;
}

void QtControls::SetCaption(std::string_view name, int index, const std::string& text) {
  const Entry* e = Find(name, index);
  // Setting a text makes the control lay itself out and repaint; callers that set the same
  // text again and again (per record, per tick) cost nothing this way.
  if (!e || Caption(name, index) == text) return;
  const QString t = QString::fromStdString(text);
  if (QAction* a = ActionOf(e)) {
    a->setText(t);
    return;
  }
  QWidget* w = WidgetOf(e);
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
  const Entry* e = Find(name, index);
  if (QAction* a = ActionOf(e)) return a->text().toStdString();
  QWidget* w = WidgetOf(e);
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title().toStdString();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  return w ? w->windowTitle().toStdString() : std::string();
}

void QtControls::SetToolTip(std::string_view name, int index, const std::string& text) {
  const Entry* e = Find(name, index);
  if (!e || ToolTip(name, index) == text) return;  // a widget announces every new tip
  const QString t = QString::fromStdString(text);
  if (QAction* a = ActionOf(e))
    a->setToolTip(t);
  else if (QWidget* w = WidgetOf(e))
    w->setToolTip(t);
}

std::string QtControls::ToolTip(std::string_view name, int index) const {
  const Entry* e = Find(name, index);
  if (QAction* a = ActionOf(e)) return a->toolTip().toStdString();
  if (QWidget* w = WidgetOf(e)) return w->toolTip().toStdString();
  return {};
}

void QtControls::SetPicture(std::string_view name, int index, const std::string& imageKey) {
  Entry* e = Find(name, index);
  if (!e || e->picture == imageKey) return;  // the icon is built afresh on every change
  e->picture = imageKey;
  if (auto* b = qobject_cast<QAbstractButton*>(e->widget.data()))
    b->setIcon(ButtonIcon(imageKey));
  else if (e->action)
    e->action->setIcon(ButtonIcon(imageKey));
}

void QtControls::SetForeColor(std::string_view name, int index, int32_t color) {
  const Entry* e = Find(name, index);
  QWidget* w = WidgetOf(e);
  if (!w) return;
  const QColor c = Surface::ToQColor(color);
  if (w->palette().color(QPalette::WindowText) == c && w->palette().color(QPalette::Text) == c) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, Surface::ToQColor(color));
  pal.setColor(QPalette::Text, Surface::ToQColor(color));
  w->setPalette(pal);
}

void QtControls::SetFocus(std::string_view name, int index) {
  const Entry* e = Find(name, index);
  if (QWidget* w = WidgetOf(e)) w->setFocus(Qt::OtherFocusReason);
}

std::string QtControls::Picture(std::string_view name, int index) const {
  const Entry* e = Find(name, index);
  return e ? e->picture : std::string();
}

}  // namespace zk
