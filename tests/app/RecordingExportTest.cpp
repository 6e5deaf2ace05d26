// The window's export never writes over the recording's own files, under any name, nor
// over something that is no regular file.
#include "app/RecordingExport.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "TestFiles.h"

namespace zk {
namespace {

TEST(RecordingExport, TheRecordingsOwnFilesAndNonRegularFilesAreRefused) {
  test::TempFolder dir;
  test::TestContext tc;
  tc.state.RecordBuffer = test::Readings(100);
  tc.state.RecordCount = 100;
  tc.state.RecordName = "r";
  tc.settings.LoadPath = dir.str();
  dir.Write("r.zkd", "the recording");
  dir.Write("r.wav", "its sound");
  std::filesystem::create_symlink(dir / "r.zkd", dir / "link.csv");
  std::filesystem::create_hard_link(dir / "r.wav", dir / "hard.edf");
  std::filesystem::create_symlink("/dev/null", dir / "null.png");
  ASSERT_EQ(::mkfifo((dir / "fifo.csv").c_str(), 0600), 0);
  RecordingExport exporter(tc.ctx, {});
  for (const char* name : {"link.csv", "hard.edf", "null.png", "fifo.csv"}) {
    const std::string failure = exporter.Export(dir / name);
    EXPECT_NE(failure.find("Could not export to " + dir / name + ": it "), std::string::npos) << failure;
  }
  EXPECT_EQ(dir.Read("r.zkd"), "the recording");
  EXPECT_EQ(dir.Read("r.wav"), "its sound");
  struct stat st {};
  ASSERT_EQ(::lstat((dir / "fifo.csv").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(exporter.Export(dir / "out.csv"), "");
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "out.csv"));
}

TEST(RecordingExport, TheDialogStartsBesideTheRecordingAndTheBannerSaysWhereItWent) {
  test::TempFolder dir;
  test::TestContext tc;
  tc.state.RecordBuffer = test::Readings(100);
  tc.state.RecordCount = 100;
  tc.settings.SavePath = "/save/here/";
  RecordingExport exporter(tc.ctx, {});
  // One not yet saved: the folder it would be saved in.
  exporter.mnuFileExport_Click();
  ASSERT_EQ(tc.prompts.fileRequests.size(), 1u);
  EXPECT_EQ(tc.prompts.fileRequests[0].initDir, "/save/here/");
  // A loaded or saved one: its own folder.
  tc.state.RecordName = "r";
  tc.settings.LoadPath = dir.str();
  tc.prompts.files.push_back(dir / "r.csv");
  exporter.mnuFileExport_Click();
  ASSERT_EQ(tc.prompts.fileRequests.size(), 2u);
  EXPECT_EQ(tc.prompts.fileRequests[1].initDir, dir.str());
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "r.csv"));
  EXPECT_EQ(tc.state.StatusText, "Exported to " + dir / "r.csv");
  EXPECT_TRUE(tc.tmrMessage.Enabled());
  EXPECT_TRUE(tc.prompts.shown.empty());
}

}  // namespace
}  // namespace zk
