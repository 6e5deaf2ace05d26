// libFuzzer target for the capture parser alone, without the replay behind it
// (FuzzCapture.cpp replays what parses): any bytes are read line by line as
// `zodovaz-replay` reads them and as one text. Nothing may crash, the two readers must
// agree line for line, and a message stays short whatever the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tools/replay/Capture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto whole = zk::replay::Parse_Capture(text, error);
  if (!whole && error.size() > 200) std::abort();

  std::istringstream in(text);
  zk::replay::CaptureReader reader(in);
  zk::replay::CaptureLine line;
  std::size_t n = 0;
  while (reader.Next(line)) {
    if (whole && (n >= whole->size() || (*whole)[n].ms != line.ms || (*whole)[n].bytes != line.bytes)) std::abort();
    ++n;
  }
  if (whole.has_value() != reader.Error().empty()) std::abort();
  if (whole && n != whole->size()) std::abort();
  return 0;
}
