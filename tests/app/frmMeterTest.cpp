#include "app/frmMeter.h"

#include <gtest/gtest.h>

#include "Fakes.h"
#include "QtTestApp.h"

namespace zk {
namespace {

struct frmMeterTest : ::testing::Test {
  void SetUp() override { test::TestApp(); }
  Settings s;
  test::FakeControls main;
};

TEST_F(frmMeterTest, OpensOnTheCurrentStylesWithoutTouchingTheBdMenu) {
  s.DialType = 2;
  s.ScaleType = 1;
  s.ClockType = 3;
  s.DateType = 2;
  s.ClockLeft = true;
  main.SetVisible("mnuSetNeedleBD", true);
  frmMeter dlg(s, main, nullptr);
  EXPECT_EQ(dlg.windowTitle(), "Meter Display Setup");
  EXPECT_TRUE(dlg.optDial(2)->isChecked());
  EXPECT_TRUE(dlg.optScale(1)->isChecked());
  EXPECT_TRUE(dlg.optClock(3)->isChecked());
  EXPECT_TRUE(dlg.optDateType(2)->isChecked());
  EXPECT_TRUE(dlg.chkClockLeft()->isChecked());
  EXPECT_TRUE(dlg.framDate()->isEnabled());
  EXPECT_TRUE(main.Visible("mnuSetNeedleBD"));
}

TEST_F(frmMeterTest, DateOptionsFollowTheClockStyleAndKeepTheDate) {
  s.ClockType = 1;
  s.DateType = 1;
  frmMeter dlg(s, main, nullptr);
  EXPECT_FALSE(dlg.framDate()->isEnabled());
  EXPECT_FALSE(dlg.optDateType(0)->isEnabled());
  dlg.optClock(2)->click();
  EXPECT_EQ(s.ClockType, 2);
  EXPECT_TRUE(dlg.framDate()->isEnabled());
  EXPECT_TRUE(dlg.optDateType(1)->isEnabled());
  dlg.optClock(0)->click();
  EXPECT_FALSE(dlg.framDate()->isEnabled());
  EXPECT_EQ(s.DateType, 1);
}

TEST_F(frmMeterTest, ChoicesGoStraightIntoTheSettings) {
  frmMeter dlg(s, main, nullptr);
  dlg.optDial(2)->click();  // "Traditional Continuous" hides the BD counter menu
  EXPECT_EQ(s.DialType, 2);
  EXPECT_FALSE(main.Visible("mnuSetNeedleBD"));
  dlg.optDial(1)->click();
  EXPECT_TRUE(main.Visible("mnuSetNeedleBD"));
  dlg.optScale(1)->click();
  EXPECT_EQ(s.ScaleType, 1);
  dlg.optClock(3)->click();
  dlg.optDateType(2)->click();
  EXPECT_EQ(s.DateType, 2);
  dlg.chkClockLeft()->click();
  EXPECT_TRUE(s.ClockLeft);
  dlg.chkClockLeft()->click();
  EXPECT_FALSE(s.ClockLeft);
}

TEST_F(frmMeterTest, ValuesOutsideTheOptionsSelectNothing) {
  s.DialType = 9;
  s.ClockType = -1;
  frmMeter dlg(s, main, nullptr);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(dlg.optDial(i)->isChecked());
  EXPECT_EQ(s.DialType, 9);
}

}  // namespace
}  // namespace zk
