#pragma once
// The main window's control names for tests on the fakes: a control table that knows
// them and fails the test on any other name.
#include <gtest/gtest.h>
#include <QMenuBar>

#include "QtTestApp.h"
#include "app/MenuTree.h"
#include "app/RecordPanel.h"
#include "core/ControlTable.h"
#include "display/Surface.h"

namespace zk::test {

// Every name and index the window registers: the menu tree, the record panel and the
// four drawing surfaces.
inline std::vector<std::pair<std::string, int>> WindowControlNames() {
  TestApp();
  QMenuBar bar;
  QtControls controls;
  BuildMainMenu(&bar, controls, {});
  Surface filePosition;
  RecordPanel panel(filePosition, nullptr);
  panel.Register(controls);
  auto names = controls.Names();
  for (const char* n : {"picMeterPanel", "picKnob", "picBD", "picGraph"}) names.emplace_back(n, -1);
  return names;
}

inline void DeclareWindowControls(ControlTable& table) {
  for (const auto& [name, index] : WindowControlNames()) table.Declare(name, index);
  table.onUnknown = [](std::string_view name, int index) {
    ADD_FAILURE() << "the window has no control " << name << " (" << index << ")";
  };
}

}  // namespace zk::test
