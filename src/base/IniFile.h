#pragma once
// Our own INI ("private profile") reader and writer. Section and key names are matched
// without regard to letter case; writing a value creates a missing file, section or key;
// every other line of the file - unknown sections and keys, ";" comments, blank lines -
// is kept as it was. Values read are cut to 254 characters.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// Longest value a read delivers (the reader's buffer holds 255 characters with the
// terminator).
inline constexpr std::size_t IniValueMax = 254;

// A whole INI file held in memory, line by line, so that many keys can be read or written
// with one pass over the disk.
class IniDocument {
 public:
  IniDocument() = default;
  // Reads the file; a missing or unreadable file gives an empty document. An existing
  // file that could not be read is marked unreadable: Save then refuses, so that writing
  // one key can never replace a file whose other keys were not seen.
  static IniDocument Load(const std::string& path);
  bool Unreadable() const { return unreadable_; }
  // Parses INI text (CR LF, LF or CR line ends).
  static IniDocument Parse(std::string_view text);

  // The value of the first matching key in the first matching section, blanks around it
  // removed, one pair of enclosing double quotes removed, cut to IniValueMax characters.
  // nullopt when the section or key is missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Sets a value, replacing the key's line or adding the key (at the end of its section)
  // or the section (at the end of the document). Line breaks in the value become blanks
  // so that a value can never add lines of its own.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // The document as text; lines end as they did in the file read (CR LF for a new one).
  std::string Text() const;
  // Writes the document atomically; false when the file could not be written (or the
  // document came from an unreadable file).
  bool Save(const std::string& path) const;

 private:
  std::vector<std::string> lines_;  // without their line ends
  std::string eol_ = "\r\n";
  bool unreadable_ = false;
};

// One-key conveniences over IniDocument.
std::optional<std::string> ReadIniKey(const std::string& path, std::string_view section, std::string_view key);
bool WriteIniKey(const std::string& path, std::string_view section, std::string_view key, std::string_view value);

}  // namespace zk
