#include "app/QtControls.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "QtTestApp.h"

namespace zk {
namespace {

TEST(QtControls, ControlsKeepTheirOwnStateInsideAHiddenOrDisabledPanel) {
  test::TestApp();
  QWidget panel;
  auto* button = new QPushButton(&panel);
  auto* label = new QLabel("No File Loaded", &panel);
  QtControls c;
  c.Add("picRecord", &panel);
  c.Add("cmdStop", button);
  c.Add("lblLoadedFile", label);

  c.SetEnabled("picRecord", false);
  c.SetVisible("picRecord", false);
  EXPECT_TRUE(c.Enabled("cmdStop"));  // the button's own property, as the keys test it
  EXPECT_TRUE(c.Visible("cmdStop"));
  c.SetEnabled("cmdStop", false);
  c.SetEnabled("picRecord", true);
  EXPECT_FALSE(c.Enabled("cmdStop"));

  c.SetCaption("lblLoadedFile", "Buffer");
  c.SetToolTip("lblLoadedFile", -1, "/data/Prefix_001");
  EXPECT_EQ(label->text().toStdString(), "Buffer");
  EXPECT_EQ(c.ToolTip("lblLoadedFile"), "/data/Prefix_001");

  c.SetPicture("cmdStop", -1, "Stop");
  EXPECT_EQ(c.Picture("cmdStop"), "Stop");
  EXPECT_FALSE(button->icon().isNull());
}

TEST(QtControls, UnknownNamesAreIgnoredAndReadAsOff) {
  test::TestApp();
  QtControls c;
  c.SetChecked("mnuNothing", 3, true);
  c.SetCaption("mnuNothing", "x");
  EXPECT_FALSE(c.Checked("mnuNothing", 3));
  EXPECT_FALSE(c.Enabled("mnuNothing"));
  EXPECT_FALSE(c.Visible("mnuNothing"));
  EXPECT_EQ(c.Caption("mnuNothing"), "");
}

TEST(QtControls, CheckingABoxInCodeIsNoClick) {
  test::TestApp();
  QCheckBox box("Overide");
  int clicks = 0;
  QObject::connect(&box, &QCheckBox::toggled, [&] { ++clicks; });
  QtControls c;
  c.Add("chkOveride", &box);
  c.SetChecked("chkOveride", true);
  EXPECT_TRUE(c.Checked("chkOveride"));
  EXPECT_EQ(clicks, 0);
}

// Texts, tips, pictures and colours are set only when they change: a caller that sets
// the same value per record costs no relayout or repaint.
TEST(QtControls, TheSameValueAgainChangesNothing) {
  test::TestApp();
  QWidget panel;
  auto* button = new QPushButton(&panel);
  QtControls c;
  c.Add("cmdStop", button);
  int tipChanges = 0;
  struct Counter : QObject {
    int& n;
    explicit Counter(int& count) : n(count) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::ToolTipChange) ++n;
      return false;
    }
  } counter(tipChanges);
  button->installEventFilter(&counter);
  c.SetToolTip("cmdStop", -1, "Stop");
  c.SetToolTip("cmdStop", -1, "Stop");
  EXPECT_EQ(tipChanges, 1);
  c.SetPicture("cmdStop", -1, "Stop");
  const qint64 icon = button->icon().cacheKey();
  c.SetPicture("cmdStop", -1, "Stop");
  EXPECT_EQ(button->icon().cacheKey(), icon);
  c.SetForeColor("cmdStop", -1, 0x0000FF);
  const qint64 palette = button->palette().cacheKey();
  c.SetForeColor("cmdStop", -1, 0x0000FF);
  EXPECT_EQ(button->palette().cacheKey(), palette);
  c.SetCaption("cmdStop", "Go");
  c.SetCaption("cmdStop", "Go");
  EXPECT_EQ(c.Caption("cmdStop"), "Go");
}

}  // namespace
}  // namespace zk
