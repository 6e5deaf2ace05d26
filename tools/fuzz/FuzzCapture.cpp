// libFuzzer target for the replay tool's captures: any bytes are read as a capture, line
// by line as `zodovaz-replay` reads them, and whatever parses is replayed through the
// receive path and meter engine on virtual time. Nothing may crash or hang, whatever the
// times (gaps up to the limit pass quickly), and the whole-text parser must agree with
// the line reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tools/replay/Capture.h"
#include "tools/replay/Replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto whole = zk::replay::Parse_Capture(text, error);
  if (!whole && error.size() > 200) std::abort();  // messages stay short

  std::istringstream in(text);
  zk::replay::CaptureReader reader(in);
  std::ostringstream out;
  zk::replay::Run_Replay(zk::replay::ReplayOptions{}, reader, out);
  if (whole.has_value() != reader.Error().empty()) std::abort();
  return 0;
}
