#include "base/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "TempFiles.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

// Sets (or, with nullopt, removes) an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

struct ProgramFolderTest : ::testing::Test {
  // An installed tree: PREFIX/bin and PREFIX/share/zodovaz.
  std::string MakeInstalledTree() {
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/zodovaz");
    return root / "usr/bin";
  }
  void ReadOnly(const std::string& folder) {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  }
  test::TempFolder root;
  ScopedEnv xdg{"XDG_CONFIG_HOME", root / "config"};
};

TEST_F(ProgramFolderTest, HomeOptionWinsAndIsMadeAbsolute) {
  EXPECT_EQ(ProgramFolder(root.str(), "/nowhere/zodovaz"), root.str());
  EXPECT_EQ(ProgramFolder("a/../b", ""), (fs::current_path() / "b").string());
}

TEST_F(ProgramFolderTest, AWritableExecutableFolderIsTheProgramFolder) {
  fs::create_directories(root / "build/bin");
  EXPECT_EQ(ChooseProgramFolder(root / "build/bin"), root / "build/bin");
  EXPECT_FALSE(fs::exists(root / "config/zk3-zodovaz"));
}

TEST_F(ProgramFolderTest, AReadOnlyExecutableFolderSendsTheFilesToTheUsersFolderWhichIsCreated) {
  const std::string bin = root / "bin";
  fs::create_directories(bin);
  ReadOnly(bin);
  EXPECT_EQ(ChooseProgramFolder(bin), root / "config/zk3-zodovaz");
  EXPECT_TRUE(fs::is_directory(root / "config/zk3-zodovaz"));
  fs::permissions(bin, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(ProgramFolderTest, AnInstalledCopyUsesTheUsersFolderEvenWhenItsBinFolderIsWritable) {
  EXPECT_EQ(ChooseProgramFolder(MakeInstalledTree()), root / "config/zk3-zodovaz");
}

TEST_F(ProgramFolderTest, TheUsersFolderFallsBackToHomeConfigWhenXdgConfigHomeIsUnsetOrRelative) {
  ScopedEnv home("HOME", root / "home");
  {
    ScopedEnv unset("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(UserProgramFolder(), root / "home/.config/zk3-zodovaz");
  }
  ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
  EXPECT_EQ(UserProgramFolder(), root / "home/.config/zk3-zodovaz");
}

TEST_F(ProgramFolderTest, AUsersFolderThatCannotBeCreatedIsStillReturned) {
  test::WriteText(root / "config", "a file where the folder should be");
  EXPECT_EQ(ChooseProgramFolder(MakeInstalledTree()), root / "config/zk3-zodovaz");
}

TEST_F(ProgramFolderTest, SilentTrackIsSearchedInProgramFolderThenBesideTheProgramThenInstalledShare) {
  const std::string bin = MakeInstalledTree();
  const std::string home = root / "home";
  fs::create_directories(home);
  // Nothing anywhere: the program folder's path, so a failure names it.
  EXPECT_EQ(FindSilentTrack(home, bin), home + "/dummy.mp3");
  test::WriteText(root / "usr/share/zodovaz/dummy.mp3", "x");
  EXPECT_EQ(FindSilentTrack(home, bin), root / "usr/share/zodovaz/dummy.mp3");
  test::WriteText(bin + "/dummy.mp3", "x");
  EXPECT_EQ(FindSilentTrack(home, bin), bin + "/dummy.mp3");
  test::WriteText(home + "/dummy.mp3", "x");
  EXPECT_EQ(FindSilentTrack(home, bin), home + "/dummy.mp3");
}

TEST_F(ProgramFolderTest, SamplesFolderIsTheProgramFoldersThenTheInstalledOneThenTheProgramFoldersAgain) {
  const std::string bin = MakeInstalledTree();
  const std::string home = root / "home";
  fs::create_directories(home);
  // Neither exists: the program folder's, as a copy without samples always had it.
  EXPECT_EQ(SamplesFolder(home, bin), home + "/samples/");
  // A file of that name is no folder to open a dialog in.
  test::WriteText(root / "usr/share/zodovaz/samples", "x");
  EXPECT_EQ(SamplesFolder(home, bin), home + "/samples/");
  fs::remove(root / "usr/share/zodovaz/samples");
  fs::create_directories(root / "usr/share/zodovaz/samples");
  EXPECT_EQ(SamplesFolder(home, bin), root / "usr/share/zodovaz/samples/");
  fs::create_directories(home + "/samples");
  EXPECT_EQ(SamplesFolder(home, bin), home + "/samples/");
}

}  // namespace
}  // namespace zk
