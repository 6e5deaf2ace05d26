#pragma once
// The program's command line: where its files live, which devices stand behind port
// numbers, whether to start the sensor simulator, and a recording to open.
#include <string>
#include <vector>

#include "core/ProgramOptions.h"
#include "link/PortTable.h"

namespace zk {

struct CommandLine {
  std::string home;                        // --home DIR
  PortTable ports;                         // the default table with every --port N=DEVICE
  std::vector<int> namedPorts;             // the port numbers --port options named
  bool simulate = false;                   // --simulate
  bool noSpool = false;                    // --no-spool
  std::vector<std::string> simulatorArgs;  // --sim-arg ARG, passed on to the simulator
  bool help = false;                       // --help
  bool version = false;                    // --version
  std::string recording;                   // optional recording to open
  std::string error;                       // non-empty: the line was not understood
};

// The options of the meter window; its help text comes from here.
ProgramOptions ZodovazOptions(const std::string& programName = "zodovaz");

// Reads the arguments after the program name. Unknown options, a missing or empty value,
// a port option that does not read as N=DEVICE with N in 1..16 and a second recording
// set `error`.
CommandLine ParseCommandLine(ProgramOptions& options, const std::vector<std::string>& args);
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText(const std::string& programName);

// The port the simulator stands behind: 1, or the lowest number no --port option named;
// 0 when all sixteen are named.
int SimulatorPort(const CommandLine& cl);

}  // namespace zk
