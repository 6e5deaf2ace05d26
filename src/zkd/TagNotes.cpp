#include "zkd/TagNotes.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <vector>

#include "base/Numbers.h"
#include "base/SmallFile.h"

namespace zk {

namespace {

constexpr std::string_view FirstLine = "zodovaz notes 1";
// Far beyond what anyone types on a session; a larger file is not ours.
constexpr std::size_t MaxNotesBytes = std::size_t{4} << 20;

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

bool Unescape(std::string_view in, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '\\') {
      out += in[i];
      continue;
    }
    if (++i == in.size()) return false;
    switch (in[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return false;
    }
  }
  return true;
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates.
bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    int more = 0;
    uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      more = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(more) >= s.size()) return false;
    for (int k = 1; k <= more; ++k) {
      const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += static_cast<std::size_t>(more) + 1;
  }
  return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> f;
  std::size_t at = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', at);
    f.push_back(line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at));
    if (tab == std::string_view::npos) return f;
    at = tab + 1;
  }
}

}  // namespace

const std::string& TagNotes::Of(int32_t tag) const {
  static const std::string none;
  const auto it = tags.find(tag);
  return it == tags.end() ? none : it->second;
}

void TagNotes::Set(int32_t tag, const std::string& text) {
  if (text.empty())
    tags.erase(tag);
  else
    tags[tag] = text;
}

std::string NotesPathFor(const std::string& basePath) { return basePath + NotesExtension; }

std::string FormatNotes(const TagNotes& notes) {
  std::string out(FirstLine);
  out += '\n';
  if (!notes.session.empty()) out += "session\t" + Escape(notes.session) + '\n';
  for (const auto& [tag, text] : notes.tags)
    if (!text.empty()) out += "tag\t" + std::to_string(tag) + '\t' + Escape(text) + '\n';
  return out;
}

bool ParseNotes(std::string_view text, TagNotes& notes, std::string& error) {
  notes = TagNotes{};
  if (!IsUtf8(text)) {
    error = "the file is not UTF-8 text";
    return false;
  }
  bool first = true, sessionSeen = false;
  int lineNumber = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    std::string_view line = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    at = end == std::string_view::npos ? text.size() : end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    auto bad = [&](const std::string& what) {
      error = "line " + std::to_string(lineNumber) + ": " + what;
      notes = TagNotes{};
      return false;
    };
    if (first) {
      if (line != FirstLine) return bad("this is no notes file (it must start with \"zodovaz notes 1\")");
      first = false;
      continue;
    }
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string_view> f = Fields(line);
    std::string note;
    if (f[0] == "session" && f.size() == 2) {
      if (sessionSeen) return bad("a second session note");
      if (!Unescape(f[1], note)) return bad("a backslash that starts no known escape");
      notes.session = note;
      sessionSeen = true;
    } else if (f[0] == "tag" && f.size() == 3) {
      const bool digits = !f[1].empty() && f[1].find_first_not_of("0123456789") == std::string_view::npos;
      const std::optional<int32_t> n = digits ? ParseInt32(f[1]) : std::nullopt;
      if (!n || *n < 1) return bad("a tag number that is no whole number from 1 up");
      if (notes.tags.count(*n)) return bad("tag " + std::to_string(*n) + " has a second note");
      if (!Unescape(f[2], note)) return bad("a backslash that starts no known escape");
      if (!note.empty()) notes.tags[*n] = note;
    } else {
      return bad("an entry that is neither \"session\" nor \"tag\" with its fields");
    }
  }
  if (first) {
    error = "the file is empty";
    return false;
  }
  return true;
}

NotesLoad LoadNotes(const std::string& basePath) { return LoadNotesFile(NotesPathFor(basePath)); }

NotesLoad LoadNotesFile(const std::string& path) {
  NotesLoad out;
  std::string text;
  switch (ReadSmallFile(path, text, MaxNotesBytes)) {
    case SmallFileStatus::Missing: return out;
    case SmallFileStatus::Refused:
      out.error = "The notes file " + path + " could not be read; the recording is shown without notes.";
      return out;
    case SmallFileStatus::Read: break;
  }
  std::string why;
  if (!ParseNotes(text, out.notes, why))
    out.error = "The notes file " + path + " is damaged (" + why + "); the recording is shown without notes.";
  return out;
}

FileError SaveNotes(const std::string& basePath, const TagNotes& notes) {
  return SaveNotesFile(NotesPathFor(basePath), notes);
}

FileError SaveNotesFile(const std::string& path, const TagNotes& notes) {
  if (notes.Empty()) {
    if (std::remove(path.c_str()) != 0 && errno != ENOENT) return ErrnoError(errno);
    return {};
  }
  const std::string text = FormatNotes(notes);
  return ReplaceFileAtomically(path, [&](int fd) { return WriteAll(fd, text.data(), text.size()); });
}

std::string TagLabel(int32_t tag, const TagNotes& notes) {
  std::string label = "Tag " + std::to_string(tag);
  const std::string& note = notes.Of(tag);
  if (note.empty()) return label;
  label += ": ";
  for (char c : note) label += (c == '\n' || c == '\r' || c == '\t') ? ' ' : c;
  return label;
}

}  // namespace zk
