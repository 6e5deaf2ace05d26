#pragma once
// Where a window restored from the session goes when no screen would show it (a screen
// unplugged since, or a hand-edited session file): back onto the primary screen. Only the
// position changes; a window that any screen shows stays exactly where it was put.
#include <QList>
#include <QPoint>
#include <QRect>

namespace zk {

// How much of a window a screen must show for the window to count as on that screen:
// enough to reach its title bar with the mouse.
inline constexpr int MinVisiblePixels = 32;

// The top-left corner for `window` (pixels): its own when one of `screens` shows at least
// MinVisiblePixels of it each way (or all of it, when it is smaller); otherwise the
// nearest corner that puts it inside `primary` (its top-left corner, when it is larger).
QPoint OnScreenPosition(const QRect& window, const QList<QRect>& screens, const QRect& primary);

}  // namespace zk
