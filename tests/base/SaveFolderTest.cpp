#include "base/SaveFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempFiles.h"

namespace zk {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(SaveFolderTest, DocumentsFolderIsCreatedWhenMissingAndGetsAFinalSlash) {
  TempFolder home;
  const std::string docs = home / "Papers";
  EXPECT_EQ(Default_Save_Folder(docs, home.str(), home / ".config/zk3-zodovaz"), docs + "/");
  EXPECT_TRUE(fs::is_directory(docs));
  // An existing one with its slash is taken as it is.
  EXPECT_EQ(Default_Save_Folder(docs + "/", home.str(), ""), docs + "/");
}

TEST(SaveFolderTest, WithoutADocumentsFolderHomesDocumentsIsMade) {
  TempFolder home;
  EXPECT_EQ(Default_Save_Folder("", home.str(), ""), home / "Documents/");
  EXPECT_TRUE(fs::is_directory(home / "Documents"));
}

TEST(SaveFolderTest, TheProgramFolderIsNeverChosen) {
  TempFolder home;
  const std::string program = home / ".config/zk3-zodovaz";
  fs::create_directories(program);
  // The desktop naming the program folder (also spelt with a final slash) is passed over.
  EXPECT_EQ(Default_Save_Folder(program + "/", home.str(), program), home / "Documents/");
  // A portable copy living in ~/Documents itself gets no save folder rather than its own.
  EXPECT_EQ(Default_Save_Folder("", home.str(), home / "Documents"), "");
}

TEST(SaveFolderTest, AFolderThatCannotBeMadeGivesNothing) {
  TempFolder home;
  home.Write("Documents", "a file, not a folder");
  EXPECT_EQ(Default_Save_Folder(home / "Documents/sub", home.str(), ""), "");
  EXPECT_EQ(Default_Save_Folder("", "", ""), "");
}

}  // namespace
}  // namespace zk
