// The "Recording Setup" dialog as the user works it: its controls, their tool tips, the
// clicks that change the settings at once, the prefix check and Close; and the window
// opening it from the Recording menu.
#include "app/frmRec.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include "Fakes.h"
#include "QtTestApp.h"
#include "TempFiles.h"
#include "app/frmMain.h"
#include "base/RecordingCodes.h"
#include "sound/AudioFactory.h"

namespace zk {
namespace {

struct frmRecTest : ::testing::Test {
  void SetUp() override {
    test::TestApp();
    tc.settings.SavePath = dir.str() + "/";
    tc.settings.SavePrefix = "Prefix_";
    tc.settings.RecordingMode = RecAutoName;
    tc.settings.SuffixType = 0;
    tc.settings.SuffixNum = 4;
  }
  QAbstractButton* Button(const char* name, int index = -1) {
    return qobject_cast<QAbstractButton*>(dlg->controls().Widget(name, index));
  }
  test::TempFolder dir;
  test::TestContext tc;
  std::unique_ptr<frmRec> dlg;
};

TEST_F(frmRecTest, ShowsTheSettingsWithTheirCaptionsAndTips) {
  dlg = std::make_unique<frmRec>(tc.ctx, nullptr);
  QtControls& c = dlg->controls();
  EXPECT_EQ(dlg->windowTitle().toStdString(), "Recording Setup");
  EXPECT_EQ(c.Caption("optRecMode", 3), "Auto Save");
  EXPECT_EQ(c.ToolTip("optRecMode", 1), "Maunually name and save");
  EXPECT_EQ(c.Caption("chkRecPrompt"), "Warn me about unsaved recordings");
  EXPECT_EQ(c.Caption("framSaveMode"), "Save Mode");
  EXPECT_EQ(c.Caption("Frame1"), "File Name");
  EXPECT_TRUE(c.Checked("optRecMode", RecAutoName));
  EXPECT_EQ(c.Caption("txtPrefix"), "Prefix_");
  EXPECT_EQ(c.Caption("lblSuffixNum"), "004");
  EXPECT_EQ(c.Caption("lblSavePath"), tc.settings.SavePath);
  EXPECT_TRUE(c.Visible("lblWarning"));
  EXPECT_TRUE(c.Enabled("cmdReset"));
}

TEST_F(frmRecTest, ClicksChangeTheSettingsAndABadPrefixComesBack) {
  dlg = std::make_unique<frmRec>(tc.ctx, nullptr);
  Button("optRecMode", RecAutoSave)->click();
  EXPECT_EQ(tc.settings.RecordingMode, RecAutoSave);
  EXPECT_FALSE(dlg->controls().Enabled("chkRecPrompt"));
  Button("optSuffixType", 1)->click();
  EXPECT_EQ(tc.settings.SuffixType, 1);
  EXPECT_FALSE(dlg->controls().Enabled("cmdReset"));

  auto* prefix = qobject_cast<QLineEdit*>(dlg->controls().Widget("txtPrefix"));
  prefix->setText("no/slash");
  emit prefix->editingFinished();
  EXPECT_EQ(prefix->text().toStdString(), "Prefix_");
  ASSERT_EQ(tc.prompts.shown.size(), 1u);
  EXPECT_EQ(tc.prompts.shown[0].text, "Error: Invalid Prefix name ");

  prefix->setText("Run_");
  emit prefix->editingFinished();
  EXPECT_EQ(tc.settings.SavePrefix, "Run_");
  EXPECT_EQ(tc.settings.SuffixNum, 1);

  Button("cmdClose")->click();
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
}

TEST_F(frmRecTest, RecordingSettingsMenuOpensTheDialogAndRefreshesTheModeLabel) {
  test::TempFolder home;
  StartOptions o;
  o.programFolder = home.str();
  o.prompts = &tc.prompts;
  o.audio = MakeNullAudioDevice(tc.clock);
  frmMain f(std::move(o));
  f.Form_Load();
  std::string shown;
  QTimer::singleShot(0, [&] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      shown = w->windowTitle().toStdString();
      if (auto* d = qobject_cast<frmRec*>(w))
        qobject_cast<QAbstractButton*>(d->controls().Widget("optRecMode", RecManual))->click();
      w->close();
    }
  });
  f.Choose("mnuRecSettings");
  EXPECT_EQ(shown, "Recording Setup");
  EXPECT_EQ(f.ctx().settings.RecordingMode, RecManual);
  EXPECT_EQ(f.controls().Caption("lblRecordMode"), "Manual");
}

}  // namespace
}  // namespace zk
