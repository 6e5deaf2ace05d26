#include "app/CommandLine.h"

#include <algorithm>

namespace zk {

ProgramOptions ZodovazOptions(const std::string& programName) {
  ProgramOptions o(programName, "[options] [RECORDING.zkd]",
                   "The meter window. It shows the readings of the sensor on the serial port it used\n"
                   "last (or finds one), or runs in demonstration mode. RECORDING.zkd is a recording\n"
                   "to open at start-up.");
  o.Value({"home"}, "DIR",
          "keep the session file and the settings file in DIR\n"
          "(default: the program's own folder when it may be written,\n"
          "else ~/.config/zk3-zodovaz)");
  o.Value({"port"}, "N=DEVICE", "serial port number N (1..16) is DEVICE; may be repeated");
  o.Flag({"simulate"},
         "start the sensor simulator zodovaz-sim on a pseudo-terminal\n"
         "and use it as port 1 (or, when --port names port 1, as the\n"
         "lowest port number no --port option names)");
  o.Flag({"no-spool"},
         "record without the recovery spool in the program folder's\n"
         "recovery/ (a crash then loses an unsaved recording)");
  o.Value({"sim-arg"}, "ARG",
          "pass ARG on to the simulator (repeatable), for example\n"
          "--sim-arg --pattern --sim-arg drift");
  return o;
}

CommandLine ParseCommandLine(ProgramOptions& options, const std::vector<std::string>& args) {
  CommandLine cl;
  if (!options.Parse(args)) {
    cl.help = options.HelpAsked();
    cl.version = options.VersionAsked();
    cl.error = options.Error();
    return cl;
  }
  for (const char* name : {"home", "sim-arg", "port"})
    for (const std::string& v : options.GetAll(name))
      if (v.empty()) {
        cl.error = std::string("option --") + name + " needs a value";
        return cl;
      }
  cl.home = options.Get("home");
  cl.simulate = options.IsSet("simulate");
  cl.noSpool = options.IsSet("no-spool");
  cl.simulatorArgs = options.GetAll("sim-arg");
  for (const std::string& v : options.GetAll("port")) {
    if (!Parse_Port_Option(v, cl.ports)) {
      cl.error = "--port wants N=DEVICE with N from 1 to " + std::to_string(PortTable::MaxPort) + ", not \"" + v + "\"";
      return cl;
    }
    cl.namedPorts.push_back(std::stoi(v.substr(0, v.find('='))));
  }
  const auto recordings = options.Positionals();
  if (recordings.size() > 1) {
    cl.error = "only one recording can be opened, \"" + recordings[1] + "\" is one too many";
    return cl;
  }
  if (!recordings.empty()) cl.recording = recordings[0];
  return cl;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ProgramOptions options = ZodovazOptions();
  return ParseCommandLine(options, args);
}

std::string UsageText(const std::string& programName) { return ZodovazOptions(programName).HelpText(); }

int SimulatorPort(const CommandLine& cl) {
  for (int n = 1; n <= PortTable::MaxPort; ++n)
    if (std::find(cl.namedPorts.begin(), cl.namedPorts.end(), n) == cl.namedPorts.end()) return n;
  return 0;
}

}  // namespace zk
