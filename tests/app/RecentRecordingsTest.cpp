// File > Open Recording... and File > Recent Recordings: the Open button's dialog from the
// menu, and the recordings opened or saved lately, newest first, kept in the program's
// own user settings.
#include "app/RecentRecordings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "QtTestApp.h"
#include "TestFiles.h"
#include "app/MenuTree.h"
#include "app/frmMain.h"
#include "sound/AudioFactory.h"
#include "zkd/RecordFile.h"

namespace zk {
namespace {

TEST(RecentList, NewestFirstOnceEachAndNoMoreThanTheMenuHolds) {
  test::TempFolder dir;
  RecentList list(dir / "zodovaz.conf");
  EXPECT_TRUE(list.Paths().empty());
  for (int i = 0; i < 12; ++i) list.Add(dir / ("r" + std::to_string(i) + ".zkd"));
  list.Add(dir / "sub/../r5.zkd");  // the same file by another path
  const std::vector<std::string> paths = RecentList(dir / "zodovaz.conf").Paths();
  ASSERT_EQ(paths.size(), 10u);
  EXPECT_EQ(paths[0], dir / "r5.zkd");
  EXPECT_EQ(paths[1], dir / "r11.zkd");
  EXPECT_EQ(paths[9], dir / "r2.zkd");
  list.Remove(dir / "r11.zkd");
  EXPECT_EQ(list.Paths()[1], dir / "r10.zkd");
  // The menu has an item for each place in the list.
  int items = 0;
  for (const MenuItemSpec& m : MainMenuSpec()) items += m.name == "mnuFileRecentItem";
  EXPECT_EQ(items, RecentRecordingsMax);
  EXPECT_EQ(RecentCaption(0, "/a/b & c/take.zkd", false), "&1 take - /a/b && c");
  EXPECT_EQ(RecentCaption(9, "/a/take.zkd", true), "1&0 take - /a  (missing)");
}

struct RecentRecordingsTest : ::testing::Test {
  void SetUp() override {
    test::TestApp();
    for (const char* name : {"one.zkd", "two.zkd"})
      ASSERT_FALSE(WriteRecordFile(home.File(name), test::Readings(100), 100, std::nullopt));
    home.Write("zk3_Zodovaz.ini", "[Recording]\r\nAudioEnable=False\r\n");
    StartOptions o;
    o.programFolder = home.str();
    o.prompts = &prompts;
    o.audio = MakeNullAudioDevice(clock);
    f = std::make_unique<frmMain>(std::move(o));
    f->Form_Load();
  }
  std::string Caption(int i) { return f->ctx().controls.Caption("mnuFileRecentItem", i); }
  bool Shown(int i) { return f->ctx().controls.Visible("mnuFileRecentItem", i); }
  test::TempFolder home;
  test::ScriptedPrompts prompts;
  SystemClock clock;
  std::unique_ptr<frmMain> f;
};

TEST_F(RecentRecordingsTest, OpenFromTheMenuAndFindItAgainUnderRecent) {
  Controls& c = f->ctx().controls;
  EXPECT_TRUE(c.Enabled("mnuFileOpen"));
  EXPECT_FALSE(c.Enabled("mnuFileRecent"));  // nothing opened yet
  prompts.files.push_back(home.File("one.zkd"));
  f->Choose("mnuFileOpen");
  ASSERT_EQ(prompts.fileRequests.size(), 1u);
  EXPECT_EQ(prompts.fileRequests[0].title, "Load File for Playback");  // the Open button's dialog
  EXPECT_EQ(f->ctx().state.RecordName, "one");
  prompts.files.push_back(home.File("two.zkd"));
  f->Choose("mnuFileOpen");
  EXPECT_TRUE(c.Enabled("mnuFileRecent"));
  EXPECT_EQ(Caption(0), "&1 two - " + home.str());
  EXPECT_EQ(Caption(1), "&2 one - " + home.str());
  EXPECT_FALSE(Shown(2));

  f->Choose("mnuFileRecentItem", 1);
  EXPECT_EQ(f->ctx().state.RecordName, "one");
  EXPECT_EQ(Caption(0), "&1 one - " + home.str());
  // Kept per user in the program's own settings, not in the settings file.
  EXPECT_NE(home.Read("zodovaz.conf").find("one.zkd"), std::string::npos);
  EXPECT_EQ(home.Read("zk3_Zodovaz.ini").find("one.zkd"), std::string::npos);
  EXPECT_TRUE(prompts.shown.empty());

  // A recording gone is shown so, and choosing it removes it with a message.
  std::filesystem::remove(home.File("two.zkd"));
  f->Update_Command_State();
  EXPECT_EQ(Caption(1), "&2 two - " + home.str() + "  (missing)");
  f->Choose("mnuFileRecentItem", 1);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_NE(prompts.shown[0].text.find("two.zkd is no longer there"), std::string::npos);
  EXPECT_EQ(f->ctx().state.RecordName, "one");  // what was loaded stays
  EXPECT_FALSE(Shown(1));
  f->Choose("mnuFileRecentItem", 5);  // past the list's end: nothing
  EXPECT_EQ(prompts.shown.size(), 1u);
}

}  // namespace
}  // namespace zk
