// zodovaz-replay: runs a captured sensor stream through the window's receive path and
// meter engine on a virtual clock and prints what the meter would show, as CSV.
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/replay/Replay.h"

namespace {

const char* const Usage = R"(Usage: zodovaz-replay [options] CAPTURE

Runs CAPTURE ("-" for standard input) through the receive path and meter engine of the
meter window on a virtual clock and prints one CSV row per receive event.

Capture: one event per line, "<ms> <bytes>". ms counts from 0 and never decreases; the
bytes take the escapes \r \n \t \\ and \xHH; a line of only "<ms>" moves time on; a
line starting with "#" is a comment. Example:
  0 P0FA0\r
  20 P0FA1\r

The replay starts as the window does after a successful connect (live mode, receive
threshold 5, base "2.0", BD "0.0", needle SET pending). At each line the interval timers
due by then fire first, then the bytes arrive; a receive event runs whenever at least 5
characters wait, and a receive call waiting for a carriage return takes later lines up
to its 0.2 s deadline.

Options:
  --sensor-type 3A|40|31   sensor type (default 3A)
  --settings FILE          settings file (INI) to load first
  --sensitivity N          sensitivity step 0..63 (default 8)
  --bd-count               BD counting on from the start
  --help                   this text

Output columns: ms,raw,new,filtered,needle,base,bd,lamp,status,tag,bm,frozen
  needle is the value drawn at that event (empty when none was drawn); lamp is off, set,
  bm or lag; status is the banner text; new, bm and frozen are 0 or 1.
)";

int Fail(const std::string& text) {
  std::cerr << "zodovaz-replay: " << text << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  zk::replay::ReplayOptions options;
  std::string capturePath;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      std::cout << Usage;
      return 0;
    } else if (a == "--sensor-type") {
      if (!next(v) || (v != "3A" && v != "40" && v != "31")) return Fail("--sensor-type takes 3A, 40 or 31");
      options.sensorType = v;
    } else if (a == "--settings") {
      if (!next(v)) return Fail("--settings needs a file");
      std::error_code ec;
      if (!std::filesystem::is_regular_file(v, ec)) return Fail("no settings file " + v);
      options.settingsFile = v;
    } else if (a == "--sensitivity") {
      int n = -1;
      if (!next(v)) return Fail("--sensitivity needs a step 0..63");
      auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
      if (ec != std::errc() || p != v.data() + v.size() || n < 0 || n > 63)
        return Fail("--sensitivity takes a step 0..63");
      options.sensitivity = n;
    } else if (a == "--bd-count") {
      options.bdCount = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return Fail("unknown option " + a + " (see --help)");
    } else if (capturePath.empty()) {
      capturePath = a;
    } else {
      return Fail("only one capture file");
    }
  }
  if (capturePath.empty()) return Fail("no capture file (see --help)");

  std::stringstream text;
  if (capturePath == "-") {
    text << std::cin.rdbuf();
  } else {
    std::ifstream f(capturePath, std::ios::binary);
    if (!f) return Fail("cannot read " + capturePath);
    text << f.rdbuf();
  }
  std::string error;
  const auto capture = zk::replay::Parse_Capture(text.str(), error);
  if (!capture) return Fail(capturePath + ": " + error);
  zk::replay::Run_Replay(options, *capture, std::cout);
  return 0;
}
