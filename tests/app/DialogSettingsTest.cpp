// Qt's file dialog keeps what it remembers inside the program folder, never in the
// user's own configuration folder.
#include <gtest/gtest.h>
#include <QFileDialog>

#include <filesystem>

#include "QtTestApp.h"
#include "TempFiles.h"
#include "app/QtPrompts.h"

namespace zk {
namespace {

TEST(DialogSettings, TheFileDialogWritesItsSettingsIntoTheProgramFolder) {
  test::TestApp();
  test::TempFolder home;
  KeepDialogSettingsIn(home.str());
  {
    QFileDialog dialog(nullptr, "Export Recording", QString::fromStdString(home.str()));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
  }  // the dialog saves its state as it goes
  EXPECT_TRUE(std::filesystem::exists(home / "QtProject.conf"));
}

}  // namespace
}  // namespace zk
