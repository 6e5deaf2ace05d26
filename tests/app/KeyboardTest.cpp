#include "app/Keyboard.h"

#include <gtest/gtest.h>

#include <Qt>
#include "Fakes.h"

#include "WindowControls.h"
#include "app/KeyCodes.h"

namespace zk {
namespace {

struct Transport : KeyActions {
  std::vector<std::string> calls;
  void cmdRecord_Click() override { calls.push_back("Record"); }
  void cmdStop_Click() override { calls.push_back("Stop"); }
  void cmdPlay_Click() override { calls.push_back("Play"); }
  void cmdRev_Click() override { calls.push_back("Rev"); }
  void cmdFwd_Click() override { calls.push_back("Fwd"); }
  void cmdLoad_Click() override { calls.push_back("Load"); }
  void cmdLoad_RightClick() override { calls.push_back("Series"); }
};

struct KeyboardTest : ::testing::Test {
  void SetUp() override { test::DeclareWindowControls(t.controls); }
  test::TestContext t;
  Alerts alerts{t.ctx};
  Counters counters{t.ctx};
  Transport transport;
  Keyboard kb{t.ctx, alerts, counters, transport};

  int Down(int code, bool shift = false) {
    kb.Form_KeyDown(code, shift);
    return code;
  }
  void Press(int code, bool shift = false) {
    Down(code, shift);
    kb.Form_KeyUp(code);
  }
};

TEST_F(KeyboardTest, HeldKeyActsOnceButHeldArrowKeepsStepping) {
  t.settings.SensitivityIndex = 8;
  EXPECT_EQ(Down(vk::Space), 0);  // consumed
  EXPECT_TRUE(t.state.NeedleSetRequest);
  t.state.NeedleSetRequest = false;
  Down(vk::Space);  // auto-repeat
  Down(vk::Space);
  EXPECT_FALSE(t.state.NeedleSetRequest);
  kb.Form_KeyUp(vk::Space);
  Down(vk::Insert);
  EXPECT_TRUE(t.state.NeedleSetRequest);
  kb.Form_KeyUp(vk::Insert);

  for (int i = 0; i < 5; ++i) Down(vk::Up);
  EXPECT_EQ(t.settings.SensitivityIndex, 13);
  kb.Form_KeyUp(vk::Up);
  for (int i = 0; i < 20; ++i) Down(vk::Down);
  EXPECT_EQ(t.settings.SensitivityIndex, 0);  // held within the scale
}

TEST_F(KeyboardTest, SecondLetterWhileTheFirstIsHeldIsIgnoredButShiftIsNot) {
  Down(vk::C);
  EXPECT_TRUE(t.state.BdCountEnabled);
  Down(vk::Z);  // still holding C
  t.state.BdTotal = 12;
  Down(vk::Z);
  EXPECT_EQ(t.state.BdTotal, 12);
  kb.Form_KeyUp(vk::C);

  // Shift first and held, then "<": Shift alone leaves the guard open.
  Down(vk::Shift, true);
  EXPECT_TRUE(kb.KeyReleased());
  Down(vk::Comma, true);
  EXPECT_EQ(transport.calls, std::vector<std::string>{"Rev"});
}

TEST_F(KeyboardTest, FreezeKeyNeedsTheMenuAndNoShortMessageShowing) {
  Press(vk::F);
  EXPECT_TRUE(t.settings.FreezeEnable);
  EXPECT_EQ(t.state.StatusText, "Freeze ON");
  EXPECT_TRUE(t.tmrMessage.Enabled());
  EXPECT_TRUE(t.controls.Checked("mnuSetBmFreezeOn"));

  Press(vk::F);  // the message still shows: nothing happens
  EXPECT_TRUE(t.settings.FreezeEnable);

  t.clock.Advance(1.1);
  t.tmrMessage.Stop();
  t.controls.SetEnabled("mnuSettingsBmFreeze", false);  // playback without the override
  Press(vk::F);
  EXPECT_TRUE(t.settings.FreezeEnable);

  t.controls.SetEnabled("mnuSettingsBmFreeze", true);
  Press(vk::F);
  EXPECT_FALSE(t.settings.FreezeEnable);
  EXPECT_EQ(t.state.StatusText, "Freeze OFF");
  EXPECT_TRUE(t.controls.Checked("mnuSetBmFreezeOff"));
}

TEST_F(KeyboardTest, TagsCountOnlyWhileRecording) {
  t.state.OperatingMode = ModeLive;
  Press(vk::T);
  EXPECT_EQ(t.state.TagCount, 0);
  t.state.OperatingMode = ModeRecording;
  Press(vk::T);
  Press(vk::T);
  EXPECT_EQ(t.state.TagCount, 2);
  EXPECT_TRUE(t.state.TagChanged);
  EXPECT_EQ(t.controls.Caption("lblTag"), "2");
}

TEST_F(KeyboardTest, TransportKeysPressOnlyEnabledButtons) {
  for (const char* b : {"cmdRecord", "cmdStop", "cmdPlay", "cmdLoad", "cmdRev", "cmdFwd"})
    t.controls.SetEnabled(b, false);
  for (int k : {vk::R, vk::S, vk::P, vk::O, vk::L}) Press(k);
  Press(vk::Comma, true);
  Press(vk::Period, true);
  EXPECT_TRUE(transport.calls.empty());

  for (const char* b : {"cmdRecord", "cmdStop", "cmdPlay", "cmdLoad", "cmdRev", "cmdFwd"})
    t.controls.SetEnabled(b, true);
  for (int k : {vk::R, vk::S, vk::P, vk::O, vk::L}) Press(k);
  Press(vk::Comma);  // without Shift: nothing
  Press(vk::Period);
  Press(vk::Period, true);
  EXPECT_EQ(transport.calls, (std::vector<std::string>{"Record", "Stop", "Play", "Load", "Series", "Fwd"}));
}

TEST(KeyCodes, QtKeysBecomeVirtualKeyCodes) {
  EXPECT_EQ(VirtualKeyCode(Qt::Key_F), vk::F);
  EXPECT_EQ(VirtualKeyCode(Qt::Key_Space), vk::Space);
  EXPECT_EQ(VirtualKeyCode(Qt::Key_Up), vk::Up);
  EXPECT_EQ(VirtualKeyCode(Qt::Key_Down), vk::Down);
  EXPECT_EQ(VirtualKeyCode(Qt::Key_Insert), vk::Insert);
  EXPECT_EQ(VirtualKeyCode(Qt::Key_Shift), vk::Shift);
  EXPECT_EQ(VirtualKeyCode(Qt::Key_Less), vk::Comma);
  EXPECT_EQ(VirtualKeyCode(Qt::Key_Comma), vk::Comma);
  EXPECT_EQ(VirtualKeyCode(Qt::Key_Greater), vk::Period);
  EXPECT_EQ(VirtualKeyCode(Qt::Key_F1), 0);
}

}  // namespace
}  // namespace zk
