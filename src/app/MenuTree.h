#pragma once
// The main window's menu bar: every item with its name, control-array index, caption
// (an ampersand marks the access key) and design state.
#include <QMenuBar>
#include <functional>
#include <string>
#include <vector>

#include "app/QtControls.h"

namespace zk {

struct MenuItemSpec {
  int level;  // 0 = on the menu bar, 1 = in its menu, ...
  std::string name;
  int index;            // -1 for a single item
  std::string caption;  // "-" is a separator
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  bool command = true;  // false: the item only shows something and choosing it does nothing
};

// The menu tree in display order.
const std::vector<MenuItemSpec>& MainMenuSpec();

using MenuHandler = std::function<void(const std::string& name, int index)>;

// Builds the tree into the bar and registers every item (a submenu under its own name,
// as its menu action) with the controls. Choosing a leaf item calls the handler with its
// name and index; check marks change only when a handler sets them.
void BuildMainMenu(QMenuBar* bar, QtControls& controls, const MenuHandler& onChosen);

}  // namespace zk
