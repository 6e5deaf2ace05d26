// libFuzzer target for the INI reader and writer under the settings file and the session's
// Recording section: any bytes as an INI document must parse, answer lookups and survive
// an edit without crashing; a value read is never longer than the reader's limit, and a
// value written under names the writer accepts must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  zk::IniDocument doc = zk::IniDocument::Parse(text);

  // Section and key names taken from the input itself, so lookups hit as well as miss.
  std::string_view section = text.substr(0, size / 3);
  std::string_view key = text.substr(size / 3, size / 3);
  auto before = doc.Get(section, key);
  if (before && before->size() > zk::IniValueMax) std::abort();
  (void)doc.Get("Colors", "Dial_Color");

  // Names without line breaks, brackets, "=" or a leading ";" are ones the writer
  // promises to handle; for those a written value must come back.
  auto plain = [](std::string_view s) {
    if (s.empty() || s.front() == ';' || s.front() == ' ' || s.back() == ' ') return false;
    for (char c : s)
      if (c == '\r' || c == '\n' || c == '[' || c == ']' || c == '=' || c == '\t' || c == '"' || c == '\xEF')
        return false;
    return true;
  };
  std::string_view value = text.substr(2 * (size / 3));
  doc.Set(section, key, value);
  zk::IniDocument again = zk::IniDocument::Parse(doc.Text());
  if (plain(section) && plain(key)) {
    auto got = again.Get(section, key);
    if (!got) std::abort();
    if (got->size() > zk::IniValueMax) std::abort();
  }
  return 0;
}
