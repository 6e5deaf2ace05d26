#include "app/KeyFilter.h"

#include <QApplication>
#include <QKeyEvent>

#include "app/KeyCodes.h"

namespace zk {

bool KeyFilter::Owns(QObject* watched) const {
  if (!preview_ || !window_.isActiveWindow()) return false;
  if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  return w && w->window() == &window_;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
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
