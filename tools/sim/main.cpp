// zodovaz-sim: a sensor on a pseudo-terminal, for trying the meter without hardware.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/ProgramOptions.h"
#include "tools/sim/SimSensor.h"

namespace {

volatile sig_atomic_t g_stop = 0;
void On_Signal(int) { g_stop = 1; }

zk::ProgramOptions Options() {
  zk::ProgramOptions o("zodovaz-sim", "[options]",
                       "A sensor on a pseudo-terminal. Prints the terminal's device path as its first line of\n"
                       "output, then answers the sensor protocol on it until it is stopped.",
                       R"(Patterns:
  steady  20000 all the time
  drift   20000 +- 3000, one slow swing a minute
  fall    10 s falling from 40000 to 30000, 10 s rising back
  motion  steady, with a one-message jolt of +600 every 3 s
  sweep   0 to 65535 in 10 s and back in 10 s

Protocol: each command ends with a carriage return. "Q" stops the stream and is not
answered; "V" answers "V,ZK" + type + serial + "," + boot + "," + firmware + CR;
"U" then "R" starts the stream (type 40: "U", "R", "O"); "SL" / "SR" select the local
or the remote probe of type 31. The stream is 50 messages a second, paced by the clock:
"P" + 4 hex digits + CR (type 3A), "O" (type 40), "L" or "R" (type 31, by probe; "L"
carries the reading / 1.068, which the host scales back). A switch press sends one
"T" message instead of "P"/"O"; a probe fault sends "X" + CR.

Script: one event per line, "<ms> <event> [arguments]", ms counted from the start of
the stream and never decreasing; "#" starts a comment.
  <ms> value N        the reading becomes N (0..65535)
  <ms> ramp N MS      the reading moves in a straight line to N over MS milliseconds
  <ms> switch         a press of the external switch (one "T" message)
  <ms> fault [N]      N remote-probe faults (N "X" messages, default 1)
  <ms> stall MS       no messages for MS milliseconds
  <ms> garbage [N]    N random characters without a carriage return (default 8)
  <ms> disconnect     the terminal closes and the simulator ends
Before the first value or ramp the readings follow --pattern.

The terminal stays usable while no program has it open, so a client may open and
close it as often as it likes. The simulator ends on SIGINT, SIGTERM or SIGHUP, when
the process that started it ends, and at a scripted disconnect.
)");
  o.Value({"type"}, "3A|40|31", "sensor type (default 3A)");
  o.Value({"serial"}, "TEXT", "serial number after \"ZK\" and the type (default 1234)");
  o.Value({"boot"}, "TEXT", "boot loader version in the version reply (default 1.0)");
  o.Value({"firmware"}, "TEXT", "firmware version in the version reply (default 2.1)");
  o.Value({"pattern"}, "NAME", "reading pattern (default steady; see Patterns)");
  o.Value({"script"}, "FILE", "timed values and events instead of a pattern (see Script)");
  o.Value({"link"}, "PATH", "also make PATH a symbolic link to the device (removed at exit)");
  return o;
}

int64_t Now_Ms() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void Make_Raw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  tcsetattr(fd, TCSANOW, &t);
}

int Fail(const std::string& text) {
  std::cerr << "zodovaz-sim: " << text << "\n";
  return 2;
}

// Writes what the pty takes now; a full buffer (no reader) drops the rest, as a sensor's
// line would.
void Send(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zk::sim;
  SensorIdentity id;
  Pattern pattern = Pattern::Steady;
  std::vector<ScriptStep> script;
  std::string linkPath;

  zk::ProgramOptions options = Options();
  if (!options.Parse(argc, argv)) return options.Finish();
  if (!options.Positionals().empty()) return options.Fail("unexpected argument " + options.Positionals()[0]);
  if (options.IsSet("type")) {
    id.type = options.Get("type");
    if (id.type != "3A" && id.type != "40" && id.type != "31") return options.Fail("--type takes 3A, 40 or 31");
  }
  if (options.IsSet("serial")) id.serial = options.Get("serial");
  if (options.IsSet("boot")) id.bootLoader = options.Get("boot");
  if (options.IsSet("firmware")) id.firmware = options.Get("firmware");
  if (options.IsSet("pattern")) {
    const auto p = Parse_Pattern(options.Get("pattern"));
    if (!p) return options.Fail("--pattern takes steady, drift, fall, motion or sweep");
    pattern = *p;
  }
  if (options.IsSet("script")) {
    const std::string v = options.Get("script");
    std::ifstream f(v);
    if (!f) return options.Fail("cannot read script " + v);
    std::stringstream text;
    text << f.rdbuf();
    std::string error;
    auto s = Parse_Script(text.str(), error);
    if (!s) return options.Fail(v + ": " + error);
    script = std::move(*s);
  }
  linkPath = options.Get("link");

  struct sigaction sa {};
  sa.sa_handler = On_Signal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);
  prctl(PR_SET_PDEATHSIG, SIGHUP);  // the program that started us has gone

  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
    return Fail(std::string("cannot open a pseudo-terminal: ") + std::strerror(errno));
  const char* name = ptsname(master);
  if (!name) return Fail("no pseudo-terminal name");
  const std::string device = name;
  // Holding the terminal's own end open keeps it alive while no client has it open.
  const int slave = open(device.c_str(), O_RDWR | O_NOCTTY);
  if (slave < 0) return Fail("cannot open " + device + ": " + std::strerror(errno));
  Make_Raw(slave);

  if (!linkPath.empty()) {
    unlink(linkPath.c_str());
    if (symlink(device.c_str(), linkPath.c_str()) != 0) {
      close(slave);
      close(master);
      return Fail("cannot make link " + linkPath + ": " + std::strerror(errno));
    }
  }
  std::cout << device << std::endl;

  SimSensor sensor(id, pattern, std::move(script));
  char buf[256];
  while (!g_stop && !sensor.Disconnected()) {
    const int64_t now = Now_Ms();
    const int64_t due = sensor.Next_Due();
    int timeout = 200;  // wake now and then to see a signal flag
    if (due >= 0) timeout = static_cast<int>(std::clamp<int64_t>(due - now, 0, 200));
    pollfd p{master, POLLIN, 0};
    const int r = poll(&p, 1, timeout);
    if (r < 0 && errno != EINTR) break;
    if (r > 0 && (p.revents & POLLIN)) {
      const ssize_t n = read(master, buf, sizeof buf);
      if (n > 0) Send(master, sensor.Receive(std::string(buf, static_cast<size_t>(n)), Now_Ms()));
    }
    Send(master, sensor.Due(Now_Ms()));
  }

  if (!linkPath.empty()) unlink(linkPath.c_str());
  close(slave);
  close(master);
  return 0;
}
