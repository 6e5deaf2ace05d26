#include "base/IniFile.h"

#include <utility>

#include "base/AtomicFile.h"
#include "base/SmallFile.h"

namespace zk {

namespace {

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// What one line of the file is, seen by the reader.
struct LineView {
  enum Kind { Other, Section, Entry } kind = Other;
  std::string_view name;   // section or key name
  std::string_view value;  // entry value, trimmed
};

LineView Classify(std::string_view line, bool first) {
  if (first && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // UTF-8 mark
  std::string_view t = Trim(line);
  LineView v;
  if (t.empty() || t.front() == ';') return v;
  if (t.front() == '[') {
    t.remove_prefix(1);
    std::size_t close = t.find(']');
    v.kind = LineView::Section;
    v.name = Trim(t.substr(0, close));
    return v;
  }
  std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return v;
  v.kind = LineView::Entry;
  v.name = Trim(t.substr(0, eq));
  v.value = Trim(t.substr(eq + 1));
  return v;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  std::size_t firstBreak = text.find_first_of("\r\n");
  // Assigned as one character: GCC 12 warns wrongly (-Wrestrict) about the literal here.
  if (firstBreak != std::string_view::npos && text[firstBreak] == '\n') doc.eol_.assign(1, '\n');
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      doc.lines_.emplace_back(text.substr(start));
      break;
    }
    doc.lines_.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return doc;
}

IniDocument IniDocument::Load(const std::string& path) {
  // Something at the path that is no regular file of a sane size (a FIFO, a device, a
  // folder, a huge file) cannot be read, like a file without read permission.
  std::string text;
  const SmallFileStatus status = ReadSmallFile(path, text);
  if (status == SmallFileStatus::Read) return Parse(text);
  IniDocument failed;
  failed.unreadable_ = status == SmallFileStatus::Refused;
  return failed;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  bool inSection = false;
  bool seenSection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    LineView v = Classify(lines_[i], i == 0);
    if (v.kind == LineView::Section) {
      // Only the first section of a name is searched.
      if (inSection) return std::nullopt;
      inSection = !seenSection && SameName(v.name, section);
      seenSection = seenSection || inSection;
    } else if (inSection && v.kind == LineView::Entry && SameName(v.name, key)) {
      std::string_view value = v.value;
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      return std::string(value.substr(0, IniValueMax));
    }
  }
  return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string clean(value);
  for (char& c : clean)
    if (c == '\r' || c == '\n') c = ' ';

  std::size_t sectionLine = lines_.size();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    LineView v = Classify(lines_[i], i == 0);
    if (v.kind == LineView::Section && SameName(v.name, section)) {
      sectionLine = i;
      break;
    }
  }

  if (sectionLine == lines_.size()) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    std::string header = "[";
    header += section;
    header += ']';
    lines_.push_back(std::move(header));
    lines_.push_back(std::string(key) + "=" + clean);
    return;
  }

  std::size_t insertAfter = sectionLine;
  for (std::size_t i = sectionLine + 1; i < lines_.size(); ++i) {
    LineView v = Classify(lines_[i], false);
    if (v.kind == LineView::Section) break;
    if (v.kind != LineView::Entry) continue;
    if (SameName(v.name, key)) {
      // The key keeps the spelling the file gave it.
      lines_[i] = std::string(v.name) + "=" + clean;
      return;
    }
    insertAfter = i;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAfter + 1), std::string(key) + "=" + clean);
}

std::string IniDocument::Text() const {
  std::string out;
  for (const std::string& line : lines_) {
    out += line;
    out += eol_;
  }
  return out;
}

bool IniDocument::Save(const std::string& path) const {
  if (unreadable_) return false;
  return WriteFileAtomically(path, Text());
}

std::optional<std::string> ReadIniKey(const std::string& path, std::string_view section, std::string_view key) {
  return IniDocument::Load(path).Get(section, key);
}

bool WriteIniKey(const std::string& path, std::string_view section, std::string_view key, std::string_view value) {
  IniDocument doc = IniDocument::Load(path);
  doc.Set(section, key, value);
  return doc.Save(path);
}

}  // namespace zk
