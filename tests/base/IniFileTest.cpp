#include "base/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempFiles.h"
#include "base/AtomicFile.h"

namespace zk {
namespace {

using test::ReadText;
using test::TempFolder;
using test::WriteText;

TEST(IniDocument, NamesMatchWithoutLetterCase) {
  auto doc = IniDocument::Parse("[Colors]\r\nDial_Color=255\r\n");
  EXPECT_EQ(doc.Get("colors", "DIAL_COLOR"), "255");
  EXPECT_EQ(doc.Get("COLORS", "dial_color"), "255");
  doc.Set("cOlOrS", "dial_color", "7");
  EXPECT_EQ(doc.Text(), "[Colors]\r\nDial_Color=7\r\n");  // key keeps its spelling, no duplicate
}

TEST(IniDocument, MissingSectionOrKeyIsNullopt) {
  auto doc = IniDocument::Parse("[A]\nx=1\n[B]\ny=2\n");
  EXPECT_EQ(doc.Get("A", "x"), "1");
  EXPECT_FALSE(doc.Get("A", "y"));  // y belongs to B
  EXPECT_FALSE(doc.Get("C", "x"));
  EXPECT_FALSE(IniDocument().Get("A", "x"));
}

TEST(IniDocument, ValueReadingRules) {
  auto doc = IniDocument::Parse(
      "[S]\n"
      "  spaced  =  a b  \n"
      "quoted=\"C:\\x\\\"\n"
      "empty=\n"
      "eq=a=b\n"
      ";hidden=1\n"
      "noequals\n"
      "dup=first\n"
      "dup=second\n"
      "[S]\n"
      "later=1\n");
  EXPECT_EQ(doc.Get("S", "spaced"), "a b");
  EXPECT_EQ(doc.Get("S", "quoted"), "C:\\x\\");
  EXPECT_EQ(doc.Get("S", "empty"), "");
  EXPECT_EQ(doc.Get("S", "eq"), "a=b");
  EXPECT_FALSE(doc.Get("S", ";hidden"));
  EXPECT_FALSE(doc.Get("S", "noequals"));
  EXPECT_EQ(doc.Get("S", "dup"), "first");
  EXPECT_FALSE(doc.Get("S", "later"));  // only the first section of a name is searched
}

TEST(IniDocument, ValuesAreCutAt254Characters) {
  std::string longValue(300, 'v');
  longValue[253] = 'L';
  auto doc = IniDocument::Parse("[S]\nk=" + longValue + "\n");
  auto v = doc.Get("S", "k");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->size(), 254u);
  EXPECT_EQ(v->back(), 'L');
}

TEST(IniDocument, WritingKeepsCommentsBlankLinesAndUnknownKeys) {
  const std::string before =
      "; my meter settings\r\n"
      "\r\n"
      "[Colors]\r\n"
      "Dial_Color=1\r\n"
      "Mine=keep\r\n"
      "; about Format\r\n"
      "\r\n"
      "[Unknown]\r\n"
      "x=y\r\n";
  auto doc = IniDocument::Parse(before);
  doc.Set("Colors", "Dial_Color", "2");
  doc.Set("Colors", "Text_Color", "3");  // new key goes after the section's last key
  doc.Set("Format", "DialType", "4");    // new section at the end
  EXPECT_EQ(doc.Text(),
            "; my meter settings\r\n"
            "\r\n"
            "[Colors]\r\n"
            "Dial_Color=2\r\n"
            "Mine=keep\r\n"
            "Text_Color=3\r\n"
            "; about Format\r\n"
            "\r\n"
            "[Unknown]\r\n"
            "x=y\r\n"
            "\r\n"
            "[Format]\r\n"
            "DialType=4\r\n");
}

TEST(IniDocument, KeepsTheFilesLineEnds) {
  auto doc = IniDocument::Parse("[A]\nx=1\n");
  doc.Set("A", "y", "2");
  EXPECT_EQ(doc.Text(), "[A]\nx=1\ny=2\n");
  IniDocument fresh;
  fresh.Set("A", "x", "1");
  EXPECT_EQ(fresh.Text(), "[A]\r\nx=1\r\n");
}

TEST(IniDocument, AValueCannotAddLinesOfItsOwn) {
  IniDocument doc;
  doc.Set("Recording", "SavePath", "/tmp/a\r\n[Colors]\nDial_Color=0");
  auto back = IniDocument::Parse(doc.Text());
  EXPECT_FALSE(back.Get("Colors", "Dial_Color"));
  EXPECT_EQ(back.Get("Recording", "SavePath"), "/tmp/a  [Colors] Dial_Color=0");
}

TEST(IniFile, WriteCreatesFileAndReadsBack) {
  TempFolder tmp;
  const std::string path = tmp.File("new.ini");
  EXPECT_FALSE(ReadIniKey(path, "A", "x"));  // missing file
  ASSERT_TRUE(WriteIniKey(path, "A", "x", "1"));
  ASSERT_TRUE(WriteIniKey(path, "a", "X", "2"));
  ASSERT_TRUE(WriteIniKey(path, "B", "y", "3"));
  EXPECT_EQ(ReadIniKey(path, "A", "x"), "2");
  EXPECT_EQ(ReadText(path), "[A]\r\nx=2\r\n\r\n[B]\r\ny=3\r\n");
  // Only the file itself is left: no temporary files in the folder.
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(tmp.str())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(IniFile, FailedWriteLeavesTheOldFileWhole) {
  TempFolder tmp;
  const std::string path = tmp.File("s.ini");
  const std::string old = "[A]\r\nx=1\r\n";
  WriteText(path, old);
  bool wrote;
  {
    // The write of the new content fails half way.
    test::FileSizeLimit limit(16);
    wrote = WriteIniKey(path, "A", "long", std::string(100, 'z'));
  }
  EXPECT_FALSE(wrote);
  EXPECT_EQ(ReadText(path), old);
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(tmp.str())) ++entries;
  EXPECT_EQ(entries, 1);  // the temporary file was removed
}

TEST(IniFile, ReadOnlyFolderLeavesTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
  TempFolder tmp;
  const std::string path = tmp.File("s.ini");
  WriteText(path, "[A]\nx=1\n");
  std::filesystem::permissions(tmp.str(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_FALSE(WriteIniKey(path, "A", "x", "2"));
  EXPECT_EQ(ReadIniKey(path, "A", "x"), "1");
}

TEST(IniFile, AnUnreadableFileIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempFolder tmp;
  const std::string path = tmp.File("s.ini");
  WriteText(path, "[A]\nx=1\ny=2\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_write);
  EXPECT_FALSE(WriteIniKey(path, "A", "x", "9"));
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadText(path), "[A]\nx=1\ny=2\n");
}

TEST(AtomicFile, FollowsSymlinksAndKeepsPermissions) {
  TempFolder tmp;
  const std::string real = tmp.File("real.ini");
  const std::string link = tmp.File("link.ini");
  WriteText(real, "old");
  std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::filesystem::create_symlink("real.ini", link);
  ASSERT_TRUE(WriteFileAtomically(link, "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadText(real), "new");
  EXPECT_EQ(std::filesystem::status(real).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_FALSE(WriteFileAtomically(tmp.File("no/such/folder.ini"), "x"));
}

}  // namespace
}  // namespace zk
