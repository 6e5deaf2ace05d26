#include "app/KeyFilter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <algorithm>

#include "app/KeyCodes.h"

namespace zk {

namespace {

// A field the user types text into keeps its keys.
bool TakesText(QWidget* w) {
  return qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
         qobject_cast<QAbstractSpinBox*>(w);
}

}  // namespace

bool KeyFilter::Passes(const QWidget* top) const {
  return top == &window_ ||
         std::any_of(others_.begin(), others_.end(), [&](const QPointer<QWidget>& o) { return o == top; });
}

bool KeyFilter::Owns(QObject* watched) const {
  if (!preview_) return false;
  if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || !Passes(w->window()) || !w->window()->isActiveWindow()) return false;
  return w->window() == &window_ || !TakesText(w);
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  // A key that opened a dialog (O, or R showing a message) is released in the dialog, so
  // its release never reaches the keyboard: the window coming back re-arms the guard, or
  // the next key would be taken for a held one and ignored.
  if (type == QEvent::WindowActivate && watched->isWidgetType() && Passes(static_cast<QWidget*>(watched)))
    keyboard_.SetKeyReleased(true);
  if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !Owns(watched))
    return QObject::eventFilter(watched, event);
  auto* k = static_cast<QKeyEvent*>(event);
  if (k->modifiers() & (Qt::AltModifier | Qt::ControlModifier) || k->key() == Qt::Key_Alt) return false;
  if (type == QEvent::KeyPress) {
    int code = VirtualKeyCode(k->key());
    keyboard_.Form_KeyDown(code, k->modifiers() & Qt::ShiftModifier);
  } else if (!k->isAutoRepeat()) {
    // The keyboard's auto-repeat sends releases too; only the real release re-arms.
    keyboard_.Form_KeyUp(VirtualKeyCode(k->key()));
  }
  return true;
}

}  // namespace zk
