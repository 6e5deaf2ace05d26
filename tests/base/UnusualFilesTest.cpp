// What start-up finds in place of a settings or session file is not always a file: a
// FIFO must not hang the program, a device or a huge file must not exhaust its memory.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "TempFiles.h"
#include "base/IniFile.h"
#include "base/SmallFile.h"

namespace zk {
namespace {

using test::ReadText;
using test::TempFolder;
using test::WriteText;

TEST(SmallFile, ReadsAPlainFileAndTellsAMissingOneFromARefusedOne) {
  TempFolder tmp;
  tmp.Write("a.ini", "[A]\nx=1\n");
  std::string text = "old";
  EXPECT_EQ(ReadSmallFile(tmp / "a.ini", text), SmallFileStatus::Read);
  EXPECT_EQ(text, "[A]\nx=1\n");
  EXPECT_EQ(ReadSmallFile(tmp / "none", text), SmallFileStatus::Missing);
  EXPECT_EQ(text, "");
  std::filesystem::create_symlink(tmp / "gone", tmp / "dangling");
  EXPECT_EQ(ReadSmallFile(tmp / "dangling", text), SmallFileStatus::Missing);
  // One byte over the limit is too large.
  tmp.Write("big", std::string(101, 'x'));
  EXPECT_EQ(ReadSmallFile(tmp / "big", text, 100), SmallFileStatus::Refused);
  EXPECT_EQ(text, "");
  EXPECT_EQ(ReadSmallFile(tmp / "big", text, 101), SmallFileStatus::Read);
}

// Each of these is refused at once, without blocking and without reading it whole.
TEST(SmallFile, RefusesFifosDevicesFoldersAndHugeFiles) {
  TempFolder tmp;
  ASSERT_EQ(::mkfifo((tmp / "fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", tmp / "zero");
  std::filesystem::create_directory(tmp / "folder");
  {
    // Sparse: 300 MB on paper, nothing on disk.
    WriteText(tmp / "huge", "x");
    std::filesystem::resize_file(tmp / "huge", 300u << 20);
  }
  for (const char* name : {"fifo", "zero", "folder", "huge"}) {
    std::string text;
    EXPECT_EQ(ReadSmallFile(tmp / name, text), SmallFileStatus::Refused) << name;
  }
}

// The INI reader takes any of them as a file that cannot be read: nothing is read from
// it, and nothing is written over it.
TEST(IniDocument, WhatIsNoRegularFileOfSaneSizeIsUnreadable) {
  TempFolder tmp;
  ASSERT_EQ(::mkfifo((tmp / "fifo.ini").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", tmp / "zero.ini");
  std::filesystem::create_directory(tmp / "folder.ini");
  WriteText(tmp / "huge.ini", "[A]\nx=1\n");
  std::filesystem::resize_file(tmp / "huge.ini", 300u << 20);
  for (const char* name : {"fifo.ini", "zero.ini", "folder.ini", "huge.ini"}) {
    const IniDocument doc = IniDocument::Load(tmp / name);
    EXPECT_TRUE(doc.Unreadable()) << name;
    EXPECT_FALSE(doc.Get("A", "x")) << name;
    EXPECT_FALSE(WriteIniKey(tmp / name, "A", "x", "2")) << name;
  }
  struct stat st {};
  ASSERT_EQ(::lstat((tmp / "fifo.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_TRUE(std::filesystem::is_symlink(tmp / "zero.ini"));
}

}  // namespace
}  // namespace zk
