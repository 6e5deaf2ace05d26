#pragma once
// Runs a capture through the receive path and the meter engine of the window, on virtual
// time, and writes one CSV row per receive event.
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/replay/Capture.h"

namespace zk::replay {

struct ReplayOptions {
  std::string sensorType = "3A";
  std::string settingsFile;  // an INI file; "" = the built-in defaults
  int sensitivity = 8;       // SensitivityIndex 0..63
  bool bdCount = false;      // BD counting on from the start
};

inline constexpr const char* CsvHeader = "ms,raw,new,filtered,needle,base,bd,lamp,status,tag,bm,frozen";

// Replays every event of `capture`; a malformed line ends the replay there, and the
// source's Error() says why.
void Run_Replay(const ReplayOptions& options, CaptureSource& capture, std::ostream& out);
void Run_Replay(const ReplayOptions& options, const std::vector<CaptureLine>& capture, std::ostream& out);

}  // namespace zk::replay
