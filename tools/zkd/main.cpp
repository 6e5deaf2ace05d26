// zodovaz-zkd: looks into a recording. "info" summarises it, "csv" lists every record,
// "verify" checks that it loads, "plot" draws it as a picture, "edf" writes it as EDF+.
#include <iostream>
#include <string>
#include <vector>

#include "Plot.h"
#include "ZkdTool.h"
#include "core/ProgramOptions.h"

namespace {

zk::ProgramOptions Options() {
  zk::ProgramOptions o(
      "zodovaz-zkd", "info|csv|verify|plot|edf FILE.zkd [plot options | OUT.edf]", "Looks into a recording.",
      "Commands:\n"
      "  info    record count, duration, start time and date, sensitivity steps, tags\n"
      "  csv     one line per record: index,time_ms,raw,needle,bd,base_step,sensitivity,flags,tag,marker,letter\n"
      "  verify  exit 0 when the recording loads; otherwise print why and exit 1\n"
      "  plot    a PNG picture of the session: needle, base and BD, sensitivity and lamps, raw\n"
      "          reading and tags over one time axis (zodovaz-zkd plot --help for its options)\n"
      "  edf     FILE.zkd OUT.edf: the recording as EDF+ at 50 samples a second (needle, base,\n"
      "          raw reading, sensitivity) with tags, freezes and lamps as annotations\n");
  o.Positionals_End_Options();  // what follows the command is the command's own
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  zk::ProgramOptions options = Options();
  if (!options.Parse(argc, argv)) return options.Finish();
  const std::vector<std::string> args = options.Positionals();
  if (args.empty()) return options.Fail("no command given");
  const std::string& cmd = args[0];
  if (cmd == "plot") {
    // The plot command reads its own options from the arguments after "plot".
    std::vector<char*> plotArgv{argv[0], const_cast<char*>("plot")};
    for (size_t i = 1; i < args.size(); ++i) plotArgv.push_back(const_cast<char*>(args[i].c_str()));
    return zk::zkd::PlotMain(static_cast<int>(plotArgv.size()), plotArgv.data());
  }
  if (cmd == "edf") {
    if (args.size() != 3)
      return options.Fail(args.size() < 3 ? "edf needs a recording and an output file"
                                          : "edf takes a recording and an output file");
    return zk::zkd::Edf(args[1], args[2], std::cout, std::cerr);
  }
  if (cmd != "info" && cmd != "csv" && cmd != "verify") return options.Fail("unknown command '" + cmd + "'");
  if (args.size() != 2)
    return options.Fail(args.size() < 2 ? cmd + " needs a recording" : cmd + " takes one recording");
  const std::string& path = args[1];
  if (cmd == "info") return zk::zkd::Info(path, std::cout, std::cerr);
  if (cmd == "csv") return zk::zkd::Csv(path, std::cout, std::cerr);
  return zk::zkd::Verify(path, std::cout, std::cerr);
}
