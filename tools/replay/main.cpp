// zodovaz-replay: runs a captured sensor stream through the window's receive path and
// meter engine on a virtual clock and prints what the meter would show, as CSV.
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "core/ProgramOptions.h"
#include "tools/replay/Replay.h"

namespace {

zk::ProgramOptions Options() {
  zk::ProgramOptions o("zodovaz-replay", "[options] CAPTURE",
                       "Runs CAPTURE (\"-\" for standard input) through the receive path and meter engine of the\n"
                       "meter window on a virtual clock and prints one CSV row per receive event. The capture is\n"
                       "read as it is replayed; a malformed line ends the replay there with its message (exit 2).",
                       R"(Capture: one event per line, "<ms> <bytes>". ms counts from 0 and never decreases; the
bytes take the escapes \r \n \t \\ and \xHH; a line of only "<ms>" moves time on; a
line starting with "#" is a comment; times go up to 8640000000 (100 days), and a
stretch without input is passed over quickly. Example:
  0 P0FA0\r
  20 P0FA1\r

The replay starts as the window does after a successful connect (live mode, receive
threshold 5, base "2.0", BD "0.0", needle SET pending). At each line the interval timers
due by then fire first, then the bytes arrive; a receive event runs whenever at least 5
characters wait, and a receive call waiting for a carriage return takes later lines up
to its 0.2 s deadline.

Output columns: ms,raw,new,filtered,needle,base,bd,lamp,status,tag,bm,frozen
  needle is the value drawn at that event (empty when none was drawn); lamp is off, set,
  bm or lag; status is the banner text; new, bm and frozen are 0 or 1.
)");
  o.Value({"sensor-type"}, "3A|40|31", "sensor type (default 3A)");
  o.Value({"settings"}, "FILE", "settings file (INI) to load first");
  o.Value({"sensitivity"}, "N", "sensitivity step 0..63 (default 8)");
  o.Flag({"bd-count"}, "BD counting on from the start");
  return o;
}

int Fail(const std::string& text) {
  std::cerr << "zodovaz-replay: " << text << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  zk::replay::ReplayOptions options;
  zk::ProgramOptions o = Options();
  if (!o.Parse(argc, argv)) return o.Finish();
  if (o.IsSet("sensor-type")) {
    const std::string v = o.Get("sensor-type");
    if (v != "3A" && v != "40" && v != "31") return o.Fail("--sensor-type takes 3A, 40 or 31");
    options.sensorType = v;
  }
  if (o.IsSet("settings")) {
    const std::string v = o.Get("settings");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(v, ec)) return o.Fail("no settings file " + v);
    options.settingsFile = v;
  }
  if (o.IsSet("sensitivity")) {
    const std::string v = o.Get("sensitivity");
    int n = -1;
    auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (ec != std::errc() || p != v.data() + v.size() || n < 0 || n > 63)
      return o.Fail("--sensitivity takes a step 0..63, not \"" + v + "\"");
    options.sensitivity = n;
  }
  options.bdCount = o.IsSet("bd-count");
  const auto files = o.Positionals();
  if (files.empty()) return o.Fail("no capture file");
  if (files.size() > 1) return o.Fail("only one capture file, \"" + files[1] + "\" is one too many");
  const std::string capturePath = files[0];

  // The capture is read as it is replayed: a day of stream from a generator on standard
  // input needs no file and no more memory than an hour of it.
  std::ifstream file;
  if (capturePath != "-") {
    file.open(capturePath, std::ios::binary);
    if (!file) return Fail("cannot read " + capturePath);
  }
  zk::replay::CaptureReader capture(capturePath == "-" ? std::cin : file);
  zk::replay::Run_Replay(options, capture, std::cout);
  std::cout.flush();
  if (!capture.Error().empty()) return Fail(capturePath + ": " + capture.Error());
  return 0;
}
