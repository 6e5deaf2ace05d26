#pragma once
// The notes written on a recording: one for the whole session and one for each tag, kept
// in a small text file beside the recording's pair (NAME.notes beside NAME.zkd and
// NAME.wav). The file is never needed: a recording without one has no notes, and one that
// cannot be read is reported and left alone while the recording loads without notes.
//
// The file is UTF-8 text, one entry a line (a line may end in LF or CR LF):
//
//   zodovaz notes 1          the first line, always
//   session <TAB> TEXT       the note on the whole session (at most one)
//   tag <TAB> N <TAB> TEXT   the note on tag number N (1 and up, each number once)
//
// Empty lines and lines starting with '#' are skipped. In TEXT a backslash starts an
// escape: "\\" a backslash, "\t" a tab, "\n" a line break, "\r" a carriage return; any
// other escape makes the file damaged, as do an unknown line, a bad tag number, a number
// given twice and bytes that are not UTF-8. The file is written atomically.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "base/AtomicFile.h"

namespace zk {

inline constexpr const char* NotesExtension = ".notes";

struct TagNotes {
  std::string session;                  // "" when there is none
  std::map<int32_t, std::string> tags;  // tag number -> note; no empty notes
  bool Empty() const { return session.empty() && tags.empty(); }
  // The note on tag `tag`, "" when it has none.
  const std::string& Of(int32_t tag) const;
  // Sets the note on tag `tag`; an empty text removes it.
  void Set(int32_t tag, const std::string& text);
  bool operator==(const TagNotes&) const = default;
};

// The notes file of the recording at `basePath` (its path without ".zkd").
std::string NotesPathFor(const std::string& basePath);

// The file's text for `notes`.
std::string FormatNotes(const TagNotes& notes);
// Reads the file's text; false with `error` naming the line and what is wrong with it.
bool ParseNotes(std::string_view text, TagNotes& notes, std::string& error);

struct NotesLoad {
  TagNotes notes;     // empty when there is no file or it is damaged
  std::string error;  // "" unless the file is there and cannot be read
};
// The notes beside the recording at `basePath`: none (and no error) when there is no file.
NotesLoad LoadNotes(const std::string& basePath);
// The same for the notes file at `path`.
NotesLoad LoadNotesFile(const std::string& path);

// Writes the notes beside the recording at `basePath`, atomically. Empty notes write no
// file and remove an older one, so a recording whose notes were all wiped has none.
FileError SaveNotes(const std::string& basePath, const TagNotes& notes);
// The same for the notes file at `path`.
FileError SaveNotesFile(const std::string& path, const TagNotes& notes);

// The text a tag is shown with where there is room for one line: "Tag 3" or "Tag 3: note",
// line breaks as spaces.
std::string TagLabel(int32_t tag, const TagNotes& notes);

}  // namespace zk
