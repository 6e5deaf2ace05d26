// A key shown beside a menu item still belongs to the keyboard handler: pressing it runs
// its command once, through the key, never through the menu item's shortcut as well,
// also while the menu bar has the focus (the menu worked from the keyboard).
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QTest>

#include "Fakes.h"
#include "QtTestApp.h"
#include "TempFiles.h"
#include "app/frmMain.h"
#include "sound/AudioFactory.h"

namespace zk {
namespace {

TEST(KeyHints, AKeyShownInTheMenusRunsItsCommandOnce) {
  test::TestApp();
  test::TempFolder home;
  test::ScriptedPrompts prompts;
  SystemClock clock;
  StartOptions o;
  o.programFolder = home.str();
  o.prompts = &prompts;
  o.audio = MakeNullAudioDevice(clock);
  frmMain f(std::move(o));
  f.Form_Load();
  f.show();
  QApplication::setActiveWindow(&f);
  ASSERT_TRUE(f.isActiveWindow());
  QtControls& c = f.controls();
  int menuRuns = 0;
  for (const char* name : {"mnuSetBmFreezeOn", "mnuSetBmFreezeOff", "mnuRecNextTag", "mnuRecPrevTag"}) {
    ASSERT_FALSE(c.Action(name)->shortcut().isEmpty()) << name;
    QObject::connect(c.Action(name), &QAction::triggered, [&menuRuns] { ++menuRuns; });
  }
  c.SetEnabled("mnuSettingsBmFreeze", true);
  c.SetEnabled("mnuRecNextTag", true);
  c.SetEnabled("mnuRecPrevTag", true);
  bool& freeze = f.ctx().settings.FreezeEnable;
  const bool before = freeze;

  QTest::keyClick(&f, Qt::Key_F);
  EXPECT_NE(freeze, before);  // toggled once, by the key
  f.ctx().timers.tmrMessage.Stop();

  f.menuBar()->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), f.menuBar());
  QTest::keyClick(f.menuBar(), Qt::Key_F);  // two items show F: no ambiguous shortcut eats it
  EXPECT_EQ(freeze, before);
  f.ctx().timers.tmrMessage.Stop();
  QTest::keyClick(f.menuBar(), Qt::Key_BracketRight);
  QTest::keyClick(f.menuBar(), Qt::Key_BracketLeft);
  EXPECT_EQ(menuRuns, 0);
  f.close();
}

}  // namespace
}  // namespace zk
