#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "TempFiles.h"
#include "zkd/TagNotes.h"

namespace zk {
namespace {

using test::TempFolder;

TagNotes Sample() {
  TagNotes n;
  n.session = "Evening session, Ünal";
  n.Set(1, "arm moved");
  n.Set(12, "two lines\nand a tab\there, a \\ too\r");
  return n;
}

TEST(TagNotes, FormatAndParseGiveTheSameNotesBack) {
  const TagNotes n = Sample();
  const std::string text = FormatNotes(n);
  EXPECT_EQ(text.rfind("zodovaz notes 1\n", 0), 0u);
  // Each note stays on its line, whatever it holds.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
  TagNotes back;
  std::string error;
  ASSERT_TRUE(ParseNotes(text, back, error)) << error;
  EXPECT_EQ(back, n);
}

TEST(TagNotes, ParseTakesCrLfCommentsAndBlankLines) {
  TagNotes n;
  std::string error;
  ASSERT_TRUE(ParseNotes("zodovaz notes 1\r\n# written by hand\r\n\r\ntag\t3\tx\r\nsession\tS\r\n", n, error)) << error;
  EXPECT_EQ(n.session, "S");
  EXPECT_EQ(n.Of(3), "x");
  EXPECT_EQ(n.Of(4), "");
}

TEST(TagNotes, DamagedFilesAreRefusedWithTheLine) {
  const struct {
    const char* text;
    const char* says;
  } cases[] = {
      {"", "empty"},
      {"notes\n", "line 1"},
      {"zodovaz notes 1\ntag\t0\tx\n", "line 2"},
      {"zodovaz notes 1\ntag\t-2\tx\n", "line 2"},
      {"zodovaz notes 1\ntag\t+2\tx\n", "line 2"},
      {"zodovaz notes 1\ntag\t99999999999\tx\n", "line 2"},
      {"zodovaz notes 1\ntag\t2\tx\ntag\t2\ty\n", "line 3"},
      {"zodovaz notes 1\nsession\ta\nsession\tb\n", "line 3"},
      {"zodovaz notes 1\ntag\t2\tbad \\q escape\n", "line 2"},
      {"zodovaz notes 1\ntag\t2\tends in \\\n", "line 2"},
      {"zodovaz notes 1\nnote\tx\n", "line 2"},
      {"zodovaz notes 1\ntag\t2\n", "line 2"},
      {"zodovaz notes 1\nsession\t\xC3\x28\n", "UTF-8"},
      {"zodovaz notes 1\nsession\t\xED\xA0\x80\n", "UTF-8"},  // a surrogate
      {"zodovaz notes 1\nsession\t\xE2\x82\n", "UTF-8"},      // cut short
  };
  for (const auto& c : cases) {
    TagNotes n;
    n.session = "left over";
    std::string error;
    EXPECT_FALSE(ParseNotes(c.text, n, error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.text << " -> " << error;
    EXPECT_TRUE(n.Empty()) << c.text;
  }
}

TEST(TagNotes, FileBesideTheRecordingIsOptionalAndAtomic) {
  TempFolder dir;
  const std::string base = dir / "take001";
  // No file: no notes and nothing to say.
  NotesLoad none = LoadNotes(base);
  EXPECT_TRUE(none.notes.Empty());
  EXPECT_EQ(none.error, "");

  ASSERT_FALSE(SaveNotes(base, Sample()));
  EXPECT_TRUE(std::filesystem::exists(base + ".notes"));
  EXPECT_EQ(LoadNotes(base).notes, Sample());
  // Nothing but the notes file is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.str()), {}), 1);

  // Wiping every note removes the file.
  ASSERT_FALSE(SaveNotes(base, TagNotes{}));
  EXPECT_FALSE(std::filesystem::exists(base + ".notes"));
  ASSERT_FALSE(SaveNotes(base, TagNotes{}));
}

TEST(TagNotes, DamagedOrUnreadableFileLoadsNoNotesAndSaysSo) {
  TempFolder dir;
  dir.Write("a.notes", "zodovaz notes 1\ntag\tx\ty\n");
  const NotesLoad a = LoadNotes(dir / "a");
  EXPECT_TRUE(a.notes.Empty());
  EXPECT_NE(a.error.find("a.notes is damaged (line 2"), std::string::npos) << a.error;
  std::filesystem::create_directory(dir / "b.notes");
  const NotesLoad b = LoadNotes(dir / "b");
  EXPECT_TRUE(b.notes.Empty());
  EXPECT_NE(b.error.find("could not be read"), std::string::npos) << b.error;
}

TEST(TagNotes, LabelKeepsToOneLine) {
  const TagNotes n = Sample();
  EXPECT_EQ(TagLabel(1, n), "Tag 1: arm moved");
  EXPECT_EQ(TagLabel(2, n), "Tag 2");
  EXPECT_EQ(TagLabel(12, n), "Tag 12: two lines and a tab here, a \\ too ");
}

}  // namespace
}  // namespace zk
