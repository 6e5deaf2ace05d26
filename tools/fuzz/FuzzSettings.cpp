// libFuzzer target for the settings file: any bytes must load into the settings record as
// start-up loads them (Load_Settings, then the comparison made at exit), and as an INI
// document must parse, answer lookups and survive an edit without crashing; a value
// written must read back (blank-trimmed, cut). The styles the panel draws must end up
// within what the menus can choose.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzFile.h"
#include "Fakes.h"
#include "core/IniFile.h"
#include "core/SettingsFile.h"

namespace {

void LoadAsAtStartUp(const uint8_t* data, size_t size) {
  static zk::fuzz::FuzzFile file;
  static zk::test::TestContext tc;
  tc.settings = zk::Settings{};
  tc.ctx.programFolder = "/nonexistent-zk-fuzz";
  tc.settings.SettingsFilePath = file.Hold(data, size);
  zk::Load_Settings(tc.ctx);
  (void)zk::Settings_Unchanged(tc.ctx);
  const zk::Settings& s = tc.settings;
  if (s.DialType < 0 || s.DialType > 3 || s.ScaleType < 0 || s.ScaleType > 1 || s.ClockType < 0 ||
      s.ClockType > 3 || s.DateType < 0 || s.DateType > 2)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadAsAtStartUp(data, size);
  std::string_view text(reinterpret_cast<const char*>(data), size);
  zk::IniDocument doc = zk::IniDocument::Parse(text);

  // Section and key names taken from the input itself, so lookups hit as well as miss.
  std::string_view section = text.substr(0, size / 3);
  std::string_view key = text.substr(size / 3, size / 3);
  auto before = doc.Get(section, key);
  if (before && before->size() > zk::kIniValueMax) std::abort();
  (void)doc.Get("Colors", "Dial_Color");

  // Names without line breaks, brackets, "=" or a leading ";" are ones the writer
  // promises to handle; for those a written value must come back.
  auto plain = [](std::string_view s) {
    if (s.empty() || s.front() == ';' || s.front() == ' ' || s.back() == ' ') return false;
    for (char c : s)
      if (c == '\r' || c == '\n' || c == '[' || c == ']' || c == '=' || c == '\t' || c == '"' ||
          c == '\xEF')
        return false;
    return true;
  };
  std::string_view value = text.substr(2 * (size / 3));
  doc.Set(section, key, value);
  zk::IniDocument again = zk::IniDocument::Parse(doc.Text());
  if (plain(section) && plain(key)) {
    auto got = again.Get(section, key);
    if (!got) std::abort();
    if (got->size() > zk::kIniValueMax) std::abort();
  }
  return 0;
}
