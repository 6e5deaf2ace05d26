#include "app/OnScreen.h"

#include <algorithm>

namespace zk {

QPoint OnScreenPosition(const QRect& window, const QList<QRect>& screens, const QRect& primary) {
  const int needW = std::min(MinVisiblePixels, std::max(1, window.width()));
  const int needH = std::min(MinVisiblePixels, std::max(1, window.height()));
  for (const QRect& s : screens) {
    const QRect shown = s.intersected(window);
    if (shown.width() >= needW && shown.height() >= needH) return window.topLeft();
  }
  if (primary.isEmpty()) return window.topLeft();
  const int x = std::max(primary.left(), std::min(window.left(), primary.right() + 1 - window.width()));
  const int y = std::max(primary.top(), std::min(window.top(), primary.bottom() + 1 - window.height()));
  return {x, y};
}

}  // namespace zk
