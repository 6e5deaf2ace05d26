// Every control name the code uses belongs to a control of the main window, and a name
// the window lacks fails the test that uses it instead of doing nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "TempFiles.h"
#include "WindowControls.h"

namespace zk {
namespace {

// Files that address another window's controls (the recording settings dialog).
const std::set<std::string> kOtherWindows = {"RecordingSetup.h", "RecordingSetup.cpp", "frmRec.h", "frmRec.cpp"};

TEST(ControlNames, EveryNameInTheCodeIsAControlOfTheWindow) {
  std::set<std::string> known;
  for (const auto& [name, index] : test::WindowControlNames()) known.insert(name);
  const std::regex literal("\"((mnu|cmd|lbl|pic|chk|cbo)[A-Za-z0-9_]*|List1)\"");
  int used = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ZK_SOURCE_DIR "/src")) {
    const auto& path = entry.path();
    if (!entry.is_regular_file() || kOtherWindows.count(path.filename().string())) continue;
    if (path.extension() != ".cpp" && path.extension() != ".h") continue;
    const std::string text = test::ReadText(path.string());
    for (std::sregex_iterator m(text.begin(), text.end(), literal), end; m != end; ++m) {
      ++used;
      EXPECT_TRUE(known.count((*m)[1])) << path.filename().string() << " names " << (*m)[1]
                                        << ", which the window lacks";
    }
  }
  EXPECT_GT(used, 100);
}

TEST(ControlNames, AnUnknownNameFailsLoudlyInBothControlTables) {
  std::vector<std::string> reported;
  auto report = [&](std::string_view name, int index) {
    reported.push_back(std::string(name) + ":" + std::to_string(index));
  };

  ControlTable table;
  for (const auto& [name, index] : test::WindowControlNames()) table.Declare(name, index);
  table.onUnknown = report;
  table.SetChecked("mnuGraphGridX", true);
  table.SetChecked("mnuSettingsNeedleWidth", 8, true);
  EXPECT_TRUE(reported.empty());
  table.SetChecked("mnuGraphGridZ", true);
  table.Enabled("mnuSettingsNeedleWidth", 9);
  EXPECT_EQ(reported, (std::vector<std::string>{"mnuGraphGridZ:-1", "mnuSettingsNeedleWidth:9"}));

  reported.clear();
  test::TestApp();
  QMenuBar bar;
  QtControls controls;
  BuildMainMenu(&bar, controls, {});
  controls.onUnknown = report;
  controls.SetCaption("mnuhelpAbout", "&About");
  EXPECT_FALSE(controls.Has("mnuHelpAbout"));  // asking is not using
  EXPECT_TRUE(reported.empty());
  controls.SetCaption("mnuHelpAbout", "&About");
  EXPECT_EQ(reported, (std::vector<std::string>{"mnuHelpAbout:-1"}));
}

}  // namespace
}  // namespace zk
