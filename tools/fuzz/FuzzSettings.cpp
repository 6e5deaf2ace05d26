// libFuzzer target for the settings file: any bytes must load into the settings record as
// start-up loads them (Load_Settings, then the comparison made at exit) without crashing,
// and the styles the panel draws must end up within what the menus can choose. The INI
// reader underneath has its own, faster target (FuzzIni.cpp).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "Fakes.h"
#include "FuzzFile.h"
#include "core/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zk::fuzz::FuzzFile file;
  static zk::test::TestContext tc;
  tc.settings = zk::Settings{};
  tc.ctx.programFolder = "/nonexistent-zk-fuzz";
  tc.settings.SettingsFilePath = file.Hold(data, size);
  zk::Load_Settings(tc.ctx);
  (void)zk::Settings_Unchanged(tc.ctx);
  const zk::Settings& s = tc.settings;
  if (s.DialType < 0 || s.DialType > 3 || s.ScaleType < 0 || s.ScaleType > 1 || s.ClockType < 0 || s.ClockType > 3 ||
      s.DateType < 0 || s.DateType > 2)
    std::abort();
  return 0;
}
