// Outputs that must not be written: the file the output is made from, under any name, and
// anything that is no regular file; and the temporary files a killed save or export left.
#include "base/OutputFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "TempFiles.h"
#include "base/AtomicFile.h"
#include "base/StaleTempFiles.h"

namespace zk {
namespace {

using test::TempFolder;

TEST(OutputRefusal, TheInputUnderAnyNameAndNonRegularFilesAreRefused) {
  TempFolder tmp;
  tmp.Write("r.zkd", "records");
  tmp.Write("other.png", "picture");
  std::filesystem::create_symlink(tmp / "r.zkd", tmp / "link.edf");
  std::filesystem::create_hard_link(tmp / "r.zkd", tmp / "hard.edf");
  ASSERT_EQ(::mkfifo((tmp / "fifo.edf").c_str(), 0600), 0);
  const std::vector<std::string> in{tmp / "r.zkd", tmp / "r.wav"};  // no sound track: passed over
  EXPECT_EQ(OutputRefusal(tmp / "new.edf", in), "");
  EXPECT_EQ(OutputRefusal(tmp / "other.png", in), "");
  for (const char* same : {"r.zkd", "link.edf", "hard.edf", "./r.zkd"})
    EXPECT_EQ(OutputRefusal(tmp / same, in), "is the same file as " + tmp / "r.zkd") << same;
  EXPECT_EQ(OutputRefusal(tmp / "fifo.edf", in), "is not a regular file");
  EXPECT_EQ(OutputRefusal("/dev/null", in), "is not a regular file");
  EXPECT_EQ(OutputRefusal(tmp.str(), in), "is a folder");
}

// Whatever the writer, a FIFO or device node at the target (or behind a link there) is
// left as it is and the write fails.
TEST(StagedFile, NeverReplacesWhatIsNoRegularFile) {
  TempFolder tmp;
  ASSERT_EQ(::mkfifo((tmp / "fifo.csv").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/null", tmp / "null.csv");
  for (const char* name : {"fifo.csv", "null.csv"}) {
    EXPECT_FALSE(WriteFileAtomically(tmp / name, "text")) << name;
  }
  struct stat st {};
  ASSERT_EQ(::lstat((tmp / "fifo.csv").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.str()), {}), 2);  // no temporary file left
}

// A temporary file of an export or a save that was killed half way goes at the next save
// into its folder, on the sweep's rules: ours, a plain file, untouched for a while.
TEST(StaleTempFiles, TheNextSaveIntoAFolderTakesAwayWhatAKilledOneLeft) {
  TempFolder tmp;
  const std::string old[] = {tmp / ".out.edf.a1B2c3", tmp / ".out.csv.d4E5f6", tmp / ".r.png.x1y2z3",
                             tmp / ".Run_001.wav.abc123"};
  const std::string kept[] = {tmp / ".notes.txt.a1B2c3", tmp / ".out.edf.young1"};
  for (const std::string& p : old) test::WriteText(p, "left behind");
  for (const std::string& p : kept) test::WriteText(p, "left behind");
  const auto longAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  for (const std::string& p : old) std::filesystem::last_write_time(p, longAgo);
  std::filesystem::last_write_time(kept[0], longAgo);  // not ours
  ASSERT_TRUE(WriteFileAtomically(tmp / "export.edf", "new"));
  for (const std::string& p : old) EXPECT_FALSE(std::filesystem::exists(p)) << p;
  for (const std::string& p : kept) EXPECT_TRUE(std::filesystem::exists(p)) << p;
}

}  // namespace
}  // namespace zk
