#include "app/SettingsMenu.h"

#include <gtest/gtest.h>

#include "Fakes.h"
#include "WindowControls.h"

namespace zk {
namespace {

struct Targets : ColourTargets {
  int32_t knob = -1, graph = -1, window = -1;
  void SetKnobColors(int32_t c) override { knob = c; }
  void SetGraphBackColor(int32_t c) override { graph = c; }
  void SetWindowBackColor(int32_t c) override { window = c; }
};

struct MenuCommandsTest : ::testing::Test {
  void SetUp() override { test::DeclareWindowControls(t.controls); }
  test::TestContext t;
  Targets targets;
  SettingsMenu m{t.ctx, targets};
};

TEST_F(MenuCommandsTest, ColourDialogsOpenAtTheColourLastPickedExceptThePen) {
  t.settings.GraphPen_Color = 0x123456;
  t.prompts.colors = {0x0000FF, std::nullopt, 0x00FF00, std::nullopt};
  m.mnuSetColPanel_Click();       // opens at black, picks red
  m.mnuSetColScale_Click();       // opens at red, cancelled
  m.mnuSetColorGraphPen_Click();  // opens at the pen colour, picks green
  m.mnuSetColDial_Click();        // opens at green, cancelled
  EXPECT_EQ(t.prompts.colorRequests, (std::vector<int32_t>{0, 0x0000FF, 0x123456, 0x00FF00}));
  EXPECT_EQ(t.settings.Panel_Color, 0x0000FF);
  EXPECT_EQ(t.settings.Scale_Color, Settings{}.Scale_Color);  // cancel changes nothing
  EXPECT_EQ(t.settings.GraphPen_Color, 0x00FF00);
  EXPECT_EQ(t.settings.Dial_Color, Settings{}.Dial_Color);
  EXPECT_EQ(t.view.drawPanel, 1);
}

TEST_F(MenuCommandsTest, ColourChoicesReachTheirSurfaces) {
  t.prompts.colors = {0x010203, 0x040506, 0x070809};
  m.mnuSetColText_Click();
  m.mnuSetColorGraphSheet_Click();
  m.mnuSetColBackground_Click();
  EXPECT_EQ(targets.knob, 0x010203);
  EXPECT_EQ(t.settings.Text_Color, 0x010203);
  EXPECT_EQ(targets.graph, 0x040506);
  EXPECT_EQ(targets.window, 0x070809);
  EXPECT_EQ(t.shell.resizes, 1);
}

TEST_F(MenuCommandsTest, NeedleWidthAndShadowTickOnlyTheChosenElement) {
  m.mnuSettingsNeedleWidth_Click(0);
  m.mnuSettingsNeedleWidth_Click(3);
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(t.controls.Checked("mnuSettingsNeedleWidth", i), i == 3) << i;
  EXPECT_EQ(t.settings.Needle_Width, 3);
  EXPECT_EQ(t.shell.resizes, 2);

  m.mnuSetColNeedleShadow_Index_Click(5);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(t.controls.Checked("mnuSetColNeedleShadow_Index", i), i == 5);
  EXPECT_EQ(t.settings.ShadowNeedleColor_Index, 5);
}

TEST_F(MenuCommandsTest, AutosaveItemsTickOneAndAnUnknownValueNone) {
  m.mnuSettingsAutoSaveOn_Click();
  EXPECT_EQ(t.settings.SettingsAutoSave, 1);
  EXPECT_TRUE(t.controls.Checked("mnuSettingsAutoSaveOn"));
  m.mnuSettingsAutoSaveOff_Click();
  EXPECT_EQ(t.settings.SettingsAutoSave, 0);
  EXPECT_FALSE(t.controls.Checked("mnuSettingsAutoSaveOn"));
  EXPECT_TRUE(t.controls.Checked("mnuSettingsAutoSaveOff"));
  m.Show_AutoSave(5);
  for (const char* n : {"mnuSettingsAutoSaveOn", "mnuSettingsAutoSavePrompt", "mnuSettingsAutoSaveOff"})
    EXPECT_FALSE(t.controls.Checked(n)) << n;
}

TEST_F(MenuCommandsTest, SetDefaultsResetsTheColoursOnly) {
  t.settings.Dial_Color = 1;
  t.settings.Needle_Width = 7;
  m.mnuSettingsColorsDefault_Click();
  EXPECT_EQ(t.settings.Dial_Color, Settings{}.Dial_Color);
  EXPECT_EQ(t.settings.Needle_Width, 7);
  EXPECT_EQ(t.view.drawPanel, 1);
}

}  // namespace
}  // namespace zk
