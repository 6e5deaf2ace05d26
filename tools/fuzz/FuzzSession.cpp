// libFuzzer target for the session file: any bytes as "zk3_Zodovaz.cfg" are read as
// start-up reads them. Nothing may crash, and a knob step outside 0..63 is never taken.
// (Writing back is left out: its flush to disk would make each run a thousand times slower.)
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Fakes.h"
#include "core/SessionFile.h"

namespace {

// One folder for the whole run, in memory where the machine has /dev/shm, removed at exit.
struct Folder {
  std::string path;
  Folder() {
    char shm[] = "/dev/shm/zk-fuzz-session-XXXXXX";
    char tmp[] = "/tmp/zk-fuzz-session-XXXXXX";
    path = ::mkdtemp(shm) ? shm : ::mkdtemp(tmp) ? tmp : "/tmp";
  }
  ~Folder() {
    std::error_code ec;
    if (path != "/tmp") std::filesystem::remove_all(path, ec);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Folder folder;
  static zk::test::TestContext tc;
  tc.ctx.programFolder = folder.path;
  tc.settings = zk::Settings{};
  {
    std::ofstream out(zk::SessionFilePath(tc.ctx), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  zk::Read_Session_File(tc.ctx, 19200);
  const zk::Settings& s = tc.settings;
  if (s.SensitivityIndex < 0 || s.SensitivityIndex > zk::MaxSensitivityStep) std::abort();
  return 0;
}
