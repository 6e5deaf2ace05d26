// Every control name the code uses belongs to a control of the main window, and a name
// the window lacks fails the test that uses it instead of doing nothing.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>
#include <string_view>
#include <vector>

#include "TempFiles.h"
#include "WindowControls.h"

namespace zk {
namespace {

// Files that address another window's controls (the recording settings dialog, the overview).
const std::set<std::string> OtherWindows = {"RecordingSetup.h", "RecordingSetup.cpp", "frmRec.h",
                                            "frmRec.cpp",       "frmOverview.h",      "frmOverview.cpp"};

// Every quoted control name in a source text: a quote, a control prefix followed by
// letters, digits and underscores (or the list box List1), a quote. A scan by hand, since
// std::regex trips GCC's uninitialised-use warning in the sanitizer build.
std::vector<std::string> QuotedControlNames(const std::string& text) {
  static constexpr std::string_view Prefixes[] = {"mnu", "cmd", "lbl", "pic", "chk", "cbo"};
  auto wordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  std::vector<std::string> names;
  size_t at = text.find('"');
  while (at != std::string::npos) {
    size_t end = at + 1;
    while (end < text.size() && wordChar(text[end])) ++end;
    const std::string_view word(text.data() + at + 1, end - at - 1);
    bool prefixed = word == "List1";
    for (std::string_view p : Prefixes) prefixed = prefixed || word.starts_with(p);
    if (end < text.size() && text[end] == '"' && prefixed) {
      names.emplace_back(word);
      at = text.find('"', end + 1);
    } else {
      at = text.find('"', at + 1);
    }
  }
  return names;
}

TEST(ControlNames, EveryNameInTheCodeIsAControlOfTheWindow) {
  std::set<std::string> known;
  for (const auto& [name, index] : test::WindowControlNames()) known.insert(name);
  int used = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ZK_SOURCE_DIR "/src")) {
    const auto& path = entry.path();
    if (!entry.is_regular_file() || OtherWindows.count(path.filename().string())) continue;
    if (path.extension() != ".cpp" && path.extension() != ".h") continue;
    const std::string text = test::ReadText(path.string());
    for (const std::string& name : QuotedControlNames(text)) {
      ++used;
      EXPECT_TRUE(known.count(name)) << path.filename().string() << " names " << name << ", which the window lacks";
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
