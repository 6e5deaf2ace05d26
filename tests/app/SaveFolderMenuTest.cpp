// The save folder as the user meets it: an empty one taken from the desktop's documents
// folder (the test run points that into a scratch folder), and Open Save Folder.
#include "app/SaveFolderMenu.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <filesystem>

#include "Fakes.h"
#include "QtTestApp.h"
#include "TempFiles.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

// Prompts that record the folders asked to be shown, and succeed or fail as told.
struct FolderPrompts : test::ScriptedPrompts {
  bool opens = true;
  std::vector<std::string> opened;
  bool OpenFolder(const std::string& folder) override {
    opened.push_back(folder);
    return opens;
  }
};

struct SaveFolderMenu : ::testing::Test {
  void SetUp() override {
    test::TestApp();
    docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    fs::remove_all(docs);
  }
  std::string docs;
  test::TestContext t;
};

TEST_F(SaveFolderMenu, AnEmptySaveFolderTakesTheDesktopsDocumentsFolderAndMakesIt) {
  ASSERT_NE(docs.find("zk-app-tests."), std::string::npos) << docs;  // never the user's own
  Fill_Save_Folder(t.ctx);
  EXPECT_EQ(t.settings.SavePath, docs + "/");
  EXPECT_TRUE(fs::is_directory(docs));
  // A folder the user chose is kept.
  t.settings.SavePath = "/chosen/";
  Fill_Save_Folder(t.ctx);
  EXPECT_EQ(t.settings.SavePath, "/chosen/");
}

TEST_F(SaveFolderMenu, OpenSaveFolderShowsTheFolderOrSaysWhyNot) {
  FolderPrompts prompts;
  Context ctx{t.settings, t.state, t.clock, t.events, prompts, t.All(), t.view, t.controls, t.shell, t.audio, "/tmp"};
  test::TempFolder chosen;
  t.settings.SavePath = chosen.str() + "/";
  mnuRecOpenFolder_Click(ctx);
  EXPECT_EQ(prompts.opened, std::vector<std::string>{chosen.str() + "/"});
  EXPECT_TRUE(prompts.shown.empty());

  prompts.opens = false;  // no file manager
  mnuRecOpenFolder_Click(ctx);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Could not open " + chosen.str() + "/ in a file manager.");

  // Empty: filled from the documents folder first, then shown.
  prompts.opens = true;
  t.settings.SavePath.clear();
  mnuRecOpenFolder_Click(ctx);
  EXPECT_EQ(prompts.opened.back(), docs + "/");
}

}  // namespace
}  // namespace zk
