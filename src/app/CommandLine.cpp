#include "app/CommandLine.h"

#include <algorithm>

namespace zk {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  for (size_t i = 0; i < args.size() && cl.error.empty(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const std::string& opt, std::string& into) {
      const std::string prefix = opt + "=";
      if (a.rfind(prefix, 0) == 0) {
        into = a.substr(prefix.size());
      } else if (i + 1 < args.size()) {
        into = args[++i];
      } else {
        cl.error = "option " + opt + " needs a value";
        return false;
      }
      if (into.empty()) cl.error = "option " + opt + " needs a value";
      return cl.error.empty();
    };
    if (a == "--help" || a == "-h") {
      cl.help = true;
    } else if (a == "--version") {
      cl.version = true;
    } else if (a == "--simulate") {
      cl.simulate = true;
    } else if (a == "--sim-arg" || a.rfind("--sim-arg=", 0) == 0) {
      std::string v;
      if (value("--sim-arg", v)) cl.simulatorArgs.push_back(v);
    } else if (a == "--home" || a.rfind("--home=", 0) == 0) {
      value("--home", cl.home);
    } else if (a == "--port" || a.rfind("--port=", 0) == 0) {
      std::string v;
      if (value("--port", v)) {
        if (Parse_Port_Option(v, cl.ports))
          cl.namedPorts.push_back(std::stoi(v.substr(0, v.find('='))));
        else
          cl.error = "--port wants N=DEVICE with N from 1 to 16, not \"" + v + "\"";
      }
    } else if (a == "--") {
      if (i + 1 < args.size()) cl.recording = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      cl.error = "unknown option \"" + a + "\"";
    } else if (cl.recording.empty()) {
      cl.recording = a;
    } else {
      cl.error = "only one recording can be opened, \"" + a + "\" is one too many";
    }
  }
  return cl;
}

std::string UsageText(const std::string& programName) {
  return "Usage: " + programName +
         " [--home DIR] [--port N=DEVICE]... [--simulate] [RECORDING.zkd]\n"
         "\n"
         "  --home DIR        keep the session file and the settings file in DIR\n"
         "                    (default: the program's own folder when it may be written,\n"
         "                    else ~/.config/zk3-zodovaz)\n"
         "  --port N=DEVICE   serial port number N (1..16) is DEVICE; may be repeated\n"
         "  --simulate        start the sensor simulator zodovaz-sim on a pseudo-terminal\n"
         "                    and use it as port 1 (or, when --port names port 1, as the\n"
         "                    lowest port number no --port option names)\n"
         "  --sim-arg ARG     pass ARG on to the simulator (repeatable), for example\n"
         "                    --sim-arg --pattern --sim-arg drift\n"
         "  --help            show this text\n"
         "  --version         show the program version\n"
         "  RECORDING.zkd     a recording to open at start-up\n";
}

int SimulatorPort(const CommandLine& cl) {
  for (int n = 1; n <= PortTable::MaxPort; ++n)
    if (std::find(cl.namedPorts.begin(), cl.namedPorts.end(), n) == cl.namedPorts.end()) return n;
  return 0;
}

}  // namespace zk
