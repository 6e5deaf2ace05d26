#pragma once
// Check marks of menu groups: one item of a control array, or one item of an on/off pair.
#include <string_view>

#include "core/Controls.h"

namespace zk {

// Ticks item `index` of the menu array `name` and unticks its other items lo..hi; an
// index outside lo..hi leaves them all unticked.
inline void Tick_One(Controls& c, std::string_view name, int lo, int hi, int index) {
  for (int i = lo; i <= hi; ++i) c.SetChecked(name, i, i == index);
}

// Ticks `onItem` and unticks `offItem` when `on`, the other way round otherwise.
inline void Tick_Pair(Controls& c, std::string_view onItem, std::string_view offItem, bool on) {
  c.SetChecked(onItem, on);
  c.SetChecked(offItem, !on);
}

}  // namespace zk
