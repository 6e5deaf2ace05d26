#include "app/KeyCodes.h"

#include <Qt>

#include "app/Keyboard.h"

namespace zk {

int VirtualKeyCode(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Left: return 37;
    case Qt::Key_Right: return 39;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Comma:
    case Qt::Key_Less: return vk::Comma;
    case Qt::Key_Period:
    case Qt::Key_Greater: return vk::Period;
    case Qt::Key_BracketLeft: return vk::BracketLeft;
    case Qt::Key_BracketRight: return vk::BracketRight;
    default: return 0;
  }
}

}  // namespace zk
