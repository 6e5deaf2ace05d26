// zodovaz-zkd: looks into a recording. "info" summarises it, "csv" lists every record,
// "verify" checks that it loads, "plot" draws it as a picture.
#include <cstring>
#include <iostream>

#include "Plot.h"
#include "ZkdTool.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const char* usage = "usage: zodovaz-zkd info|csv|verify FILE.zkd\n"
                      "       zodovaz-zkd plot FILE.zkd [-o OUT.png] [--width PX] [--height PX] [--from TIME] [--to TIME]\n";
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << usage
              << "  info    record count, duration, start time and date, sensitivity steps, tags\n"
                 "  csv     one line per record: index,time_ms,raw,needle,bd,base_step,sensitivity,flags,tag,marker,letter\n"
                 "  verify  exit 0 when the recording loads; otherwise print why and exit 1\n"
                 "  plot    a PNG picture of the session: needle, base and BD, sensitivity and lamps, raw\n"
                 "          reading and tags over one time axis (zodovaz-zkd plot --help for its options)\n";
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "plot") == 0) return zk::zkd::PlotMain(argc, argv);
  if (argc != 3) {
    std::cerr << usage;
    return 2;
  }
  const std::string cmd = argv[1], path = argv[2];
  if (cmd == "info") return zk::zkd::Info(path, std::cout, std::cerr);
  if (cmd == "csv") return zk::zkd::Csv(path, std::cout, std::cerr);
  if (cmd == "verify") return zk::zkd::Verify(path, std::cout, std::cerr);
  std::cerr << "unknown command '" << cmd << "'\n" << usage;
  return 2;
}
