// Alert menus and the freeze toggle.
#include "MeterFixture.h"

namespace zk::test {
namespace {

using AlertsTest = MeterTest;

TEST_F(AlertsTest, BodyMotionThresholdMenu) {
  for (auto [index, limit] : {std::pair{1, 30}, {2, 50}, {3, 100}}) {
    alerts.mnuSettingsBodyMotionThreshold_Click(index);
    EXPECT_EQ(t.settings.BM_Threshold_Index, index);
    EXPECT_EQ(t.state.BodyMotionLimit, limit);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(t.controls.Checked("mnuSettingsBodyMotionThreshold", i), i == index);
  }
  // An index no menu item has (a hand-edited settings file) gives the default item.
  alerts.mnuSettingsBodyMotionThreshold_Click(9);
  EXPECT_EQ(t.settings.BM_Threshold_Index, 2);
  EXPECT_EQ(t.state.BodyMotionLimit, 50);
  EXPECT_TRUE(t.controls.Checked("mnuSettingsBodyMotionThreshold", 2));
}

TEST_F(AlertsTest, LagThresholdMenu) {
  alerts.mnuSettingsLagThreshold_Click(5);
  EXPECT_EQ(t.settings.DataLag_Index, 5);
  EXPECT_EQ(t.state.LagMessages, 5);
  EXPECT_TRUE(t.controls.Checked("mnuSettingsLagThreshold", 5));
  alerts.mnuSettingsLagThreshold_Click(1);
  EXPECT_EQ(t.state.LagMessages, 1);
  EXPECT_FALSE(t.controls.Checked("mnuSettingsLagThreshold", 5));
  alerts.mnuSettingsLagThreshold_Click(0);
  EXPECT_EQ(t.state.LagMessages, 2);
}

TEST_F(AlertsTest, ExternalSwitchModeShowsTheTagCounterOnlyInTagMode) {
  alerts.mnuSettingsExtSwMode_Click(2);
  EXPECT_EQ(t.settings.SwitchMode_Index, 2);
  EXPECT_TRUE(t.controls.Visible("lblTag"));
  EXPECT_TRUE(t.controls.Checked("mnuSettingsExtSwMode", 2));
  alerts.mnuSettingsExtSwMode_Click(1);
  EXPECT_EQ(t.settings.SwitchMode_Index, 1);
  EXPECT_FALSE(t.controls.Visible("lblTag"));
  EXPECT_TRUE(t.controls.Checked("mnuSettingsExtSwMode", 1));
  EXPECT_FALSE(t.controls.Checked("mnuSettingsExtSwMode", 2));
}

TEST_F(AlertsTest, OnOffMenus) {
  alerts.mnuSetBmFreezeOn_Click();
  EXPECT_TRUE(t.settings.FreezeEnable);
  EXPECT_TRUE(t.controls.Checked("mnuSetBmFreezeOn"));
  EXPECT_FALSE(t.controls.Checked("mnuSetBmFreezeOff"));
  alerts.mnuSetBmFreezeOff_Click();
  EXPECT_FALSE(t.settings.FreezeEnable);
  EXPECT_TRUE(t.controls.Checked("mnuSetBmFreezeOff"));
  alerts.mnuSetNeedleBDOn_Click();
  EXPECT_TRUE(t.settings.NeedleBdEnable);
  EXPECT_TRUE(t.controls.Checked("mnuSetNeedleBDOn"));
  EXPECT_FALSE(t.controls.Checked("mnuSetNeedleBDOff"));
  alerts.mnuSetNeedleBDOff_Click();
  EXPECT_FALSE(t.settings.NeedleBdEnable);
  EXPECT_TRUE(t.controls.Checked("mnuSetNeedleBDOff"));
}

TEST_F(AlertsTest, ToggleFreezeShowsAShortMessage) {
  t.state.StatusWanted = t.state.StatusText = "Input OK";
  alerts.Toggle_Freeze();
  EXPECT_TRUE(t.settings.FreezeEnable);
  EXPECT_TRUE(t.controls.Checked("mnuSetBmFreezeOn"));
  EXPECT_EQ(t.view.modeTexts.back(), "Freeze ON");
  EXPECT_TRUE(t.tmrMessage.Enabled());
  alerts.Toggle_Freeze();
  EXPECT_FALSE(t.settings.FreezeEnable);
  EXPECT_TRUE(t.controls.Checked("mnuSetBmFreezeOff"));
  EXPECT_EQ(t.view.modeTexts.back(), "Freeze OFF");
}

TEST_F(AlertsTest, ConnectTimersHooksTheHandlers) {
  t.tmrLED.Start();
  t.tmrRise.Start();
  t.clock.Advance(0.45);
  EXPECT_EQ(t.state.LedColor, t.settings.Dial_Color);
  EXPECT_FALSE(t.tmrLED.Enabled());
  EXPECT_TRUE(t.state.NeedleSetRequest);
  EXPECT_FALSE(t.tmrRise.Enabled());
}

}  // namespace
}  // namespace zk::test
