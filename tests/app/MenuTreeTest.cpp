#include "app/MenuTree.h"

#include <gtest/gtest.h>
#include <QMenu>
#include <map>

#include "QtTestApp.h"
#include "app/ButtonIcons.h"

namespace zk {
namespace {

struct MenuTreeTest : ::testing::Test {
  void SetUp() override {
    test::TestApp();
    bar = std::make_unique<QMenuBar>();
    BuildMainMenu(bar.get(), controls, [this](const std::string& n, int i) { chosen.emplace_back(n, i); });
  }
  std::unique_ptr<QMenuBar> bar;
  QtControls controls;
  std::vector<std::pair<std::string, int>> chosen;
};

TEST_F(MenuTreeTest, TopLevelMenusInOrderWithAccessKeys) {
  QStringList titles;
  for (QAction* a : bar->actions()) titles << a->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Settings", "Connection", "&View", "Graph", "Recording", "&Help"}));
  QMenu* file = bar->actions()[0]->menu();
  QStringList items;
  for (QAction* a : file->actions()) items << a->text();
  EXPECT_EQ(items, QStringList({"&Load Settings", "Save Settings", "Save Settings &As", "Open Recording...",
                                "Recent Recordings", "Export Recording...", "E&xit"}));
  // The review's items come after the existing ones of their menus.
  auto texts = [&](int menu) {
    QStringList t;
    for (QAction* a : bar->actions()[menu]->menu()->actions()) t << a->text();
    return t;
  };
  EXPECT_EQ(texts(3), QStringList({"Recording", "Graph", "Meter Style", "Overview"}));
  EXPECT_EQ(texts(5), QStringList({"Settings", "Open Save Folder", "Audio", "Next Tag", "Previous Tag"}));
  EXPECT_EQ(texts(6), QStringList({"&About", "&Keyboard", "Help"}));
  EXPECT_FALSE(controls.Enabled("mnuRecNextTag") || controls.Enabled("mnuFileExport"));
}

TEST_F(MenuTreeTest, CaptionsAndControlArrays) {
  EXPECT_EQ(controls.Caption("mnuSetNeedleBD"), "Needle  BD Counter");
  EXPECT_EQ(controls.Caption("mnuSetCol"), "&Colours");
  EXPECT_EQ(controls.Caption("mnuConnectionPort"), "&Port");
  EXPECT_EQ(controls.Caption("mnuhelpAbout"), "&About");
  EXPECT_EQ(controls.Caption("mnuConnectSyncTest"), "Sync Test - Start");
  EXPECT_EQ(controls.Caption("mnuSettingsNeedleWidth", 0), "off");
  EXPECT_EQ(controls.Caption("mnuSettingsNeedleWidth", 1), "1 Pixel");
  EXPECT_EQ(controls.Caption("mnuSettingsNeedleWidth", 8), "8 Pixels");
  EXPECT_EQ(controls.Caption("mnuSetColNeedleShadow_Index", 5), "Full");
  EXPECT_EQ(controls.Caption("mnuSettingsLagThreshold", 5), "1/10 sec");
  EXPECT_EQ(controls.Caption("mnuSettingsBodyMotionThreshold", 3), "Coarse");
  EXPECT_EQ(controls.Caption("mnuSettingsExtSwMode", 2), "Tag");
  EXPECT_EQ(controls.Caption("mnuConnectionPortComm", 16), "Comm16:");
  EXPECT_EQ(controls.Caption("mnuGraphTimescaleSecs", 4), "32");
  EXPECT_FALSE(controls.Has("mnuSettingsNeedleWidth", 9));
  EXPECT_FALSE(controls.Has("mnuSettingsLagThreshold", 0));
}

// The keys show beside the items that do what they do, as hints in the widget context
// only (the keyboard handler takes the keys); the captions stay as they are.
TEST_F(MenuTreeTest, KeyHintsComeFromTheKeyTableAndCaptionsStay) {
  const std::map<std::string, QString> hinted = {
      {"mnuRecNextTag", "]"}, {"mnuRecPrevTag", "["}, {"mnuSetBmFreezeOn", "F"}, {"mnuSetBmFreezeOff", "F"}};
  int seen = 0;
  for (QAction* a : bar->findChildren<QAction*>()) {
    const auto it = hinted.find(a->objectName().toStdString());
    if (it == hinted.end()) {
      EXPECT_TRUE(a->shortcut().isEmpty()) << a->objectName().toStdString();
      continue;
    }
    ++seen;
    EXPECT_EQ(a->shortcut().toString(), it->second);
    EXPECT_EQ(a->shortcutContext(), Qt::WidgetShortcut);
    EXPECT_FALSE(a->text().contains('\t'));
  }
  EXPECT_EQ(seen, 4);
  EXPECT_EQ(controls.Caption("mnuRecNextTag"), "Next Tag");
  EXPECT_EQ(controls.Caption("mnuSetBmFreezeOn"), "On");
}

TEST_F(MenuTreeTest, DesignStates) {
  EXPECT_FALSE(controls.Enabled("mnuConnectionPortComm", 0));
  EXPECT_TRUE(controls.Visible("mnuConnectionPortComm", 0));
  for (int i = 1; i <= 16; ++i) {
    EXPECT_FALSE(controls.Visible("mnuConnectionPortComm", i));
    EXPECT_FALSE(controls.Enabled("mnuConnectionPortComm", i));
  }
  EXPECT_FALSE(controls.Visible("mnuConnectSensor"));
  EXPECT_FALSE(controls.Enabled("mnuConnectSyncTest"));
  EXPECT_TRUE(controls.Checked("mnuGraphGridX"));
  EXPECT_TRUE(controls.Checked("mnuGraphGridY"));
  EXPECT_FALSE(controls.Checked("mnuGraphInvert"));
  EXPECT_FALSE(controls.Visible("mnuGraphHeightIndex", 0));
  EXPECT_FALSE(controls.Visible("mnuGraphTimescale"));
  EXPECT_FALSE(controls.Enabled("mnuGraphTimescale"));
  EXPECT_FALSE(controls.Visible("mnuHelpHelp"));
  EXPECT_TRUE(controls.Visible("mnuhelpAbout"));
}

TEST_F(MenuTreeTest, ChoosingAnItemRunsItsHandlerAndLeavesTheCheckMarkToIt) {
  controls.Action("mnuSettingsNeedleWidth", 3)->trigger();
  controls.Action("mnuGraphGridX")->trigger();
  ASSERT_EQ(chosen.size(), 2u);
  EXPECT_EQ(chosen[0], std::make_pair(std::string("mnuSettingsNeedleWidth"), 3));
  EXPECT_EQ(chosen[1].first, "mnuGraphGridX");
  EXPECT_FALSE(controls.Checked("mnuSettingsNeedleWidth", 3));
  EXPECT_TRUE(controls.Checked("mnuGraphGridX"));  // unchanged until a handler unticks it
  controls.SetChecked("mnuGraphGridX", false);
  EXPECT_FALSE(controls.Checked("mnuGraphGridX"));
}

TEST(ButtonIcons, EveryKeyHasAPictureAndUnknownKeysNone) {
  test::TestApp();
  EXPECT_EQ(ButtonIconKeys().size(), 11);
  for (const QString& k : ButtonIconKeys()) {
    const QImage img = ButtonIcon(k.toStdString()).pixmap(32, 32).toImage();
    int inked = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) inked += qAlpha(img.pixel(x, y)) > 0;
    EXPECT_GT(inked, 40) << k.toStdString();
  }
  EXPECT_TRUE(ButtonIcon("Eject").isNull());
  // Each picture is its own.
  EXPECT_NE(ButtonIcon("Play").pixmap(32, 32).toImage(), ButtonIcon("Pause").pixmap(32, 32).toImage());
  EXPECT_NE(ButtonIcon("Loop").pixmap(32, 32).toImage(), ButtonIcon("Single").pixmap(32, 32).toImage());
}

}  // namespace
}  // namespace zk
