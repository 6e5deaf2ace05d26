// The time-base rig: a sensor and a microphone that agree on when things happen, and the
// reading back of a recording made from them.
//
//   zk_timebase_rig feed FIFO BLOCK_MS LOG
//     A sensor on a pseudo-terminal (its path is the first line of output) whose reading
//     carries the message count in its low 8 bits and steps between two levels every
//     Step messages; and, written in real time into FIFO (a sound server's pipe source,
//     16-bit mono at 22050 a second) in blocks of BLOCK_MS, silence with a click at the
//     sample of each step. LOG gets the moment the stream started on the sound's time
//     line. Runs until SIGTERM or SIGINT.
//
//   zk_timebase_rig analyse LOG CSV WAV
//     Reads a recording made from the rig (CSV from "zodovaz-zkd csv", WAV its sound) and
//     prints how much later than the sound of its reading each record lies: mean, spread
//     (standard deviation), minimum, maximum, and the times TimeMs went back.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/sim/SimSensor.h"

namespace {

constexpr int Rate = 22050;
constexpr int64_t Step = 37;  // messages between steps: 0.74 s, out of step with the seconds
constexpr int32_t LevelLow = 0x50, LevelHigh = 0x58;
constexpr int ClickFrames = 22;  // 1 ms
constexpr int16_t ClickValue = 20000;
constexpr int64_t ScriptMessages = 50 * 60 * 20;  // twenty minutes of readings

volatile sig_atomic_t g_stop = 0;
void On_Signal(int) { g_stop = 1; }

int64_t Now_Us() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

int32_t Level(int64_t k) { return (k / Step) % 2 == 0 ? LevelLow : LevelHigh; }
int32_t Reading(int64_t k) { return Level(k) << 8 | static_cast<int32_t>(k & 0xFF); }

// A value for every message: message k reads Reading(k).
std::vector<zk::sim::ScriptStep> Script() {
  std::vector<zk::sim::ScriptStep> s;
  s.reserve(ScriptMessages);
  for (int64_t k = 0; k < ScriptMessages; ++k) {
    zk::sim::ScriptStep step;
    step.verb = zk::sim::ScriptStep::Value;
    step.ms = k * zk::sim::SimSensor::PeriodMs;
    step.value = Reading(k);
    s.push_back(step);
  }
  return s;
}

void Send(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0)
      done += static_cast<size_t>(n);
    else if (n < 0 && errno == EINTR)
      continue;
    else
      return;
  }
}

int Feed(const std::string& fifo, double blockMs, const std::string& logPath) {
  struct sigaction sa {};
  sa.sa_handler = On_Signal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);
  prctl(PR_SET_PDEATHSIG, SIGTERM);

  const int sound = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  if (sound < 0) {
    std::cerr << "cannot open " << fifo << ": " << std::strerror(errno) << "\n";
    return 2;
  }
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return 2;
  const std::string device = ptsname(master);
  const int slave = open(device.c_str(), O_RDWR | O_NOCTTY);
  termios t{};
  tcgetattr(slave, &t);
  cfmakeraw(&t);
  tcsetattr(slave, TCSANOW, &t);
  std::cout << device << std::endl;

  zk::sim::SimSensor sensor({}, zk::sim::Pattern::Steady, Script());
  std::ofstream log(logPath);
  const int64_t origin = Now_Us();  // frame 0 of the sound
  int64_t streamUs = -1;            // the stream's message 0, on the sound's time line
  int64_t blocks = 0, dropped = 0;
  std::vector<int16_t> pcm;
  std::string pending;  // the part of a block the pipe did not take yet
  char buf[256];
  while (!g_stop) {
    const int64_t now = Now_Us();
    const auto blockEnd = static_cast<int64_t>(std::llround((blocks + 1) * blockMs * 1000));
    int64_t wake = origin + blockEnd;
    const int64_t due = sensor.Next_Due();
    if (due >= 0) wake = std::min(wake, due * 1000);
    pollfd p{master, POLLIN, 0};
    const int timeout = static_cast<int>(std::clamp<int64_t>((wake - now + 999) / 1000, 0, 200));
    if (poll(&p, 1, timeout) > 0 && (p.revents & POLLIN)) {
      const ssize_t n = read(master, buf, sizeof buf);
      const bool was = sensor.Streaming();
      const int64_t nowMs = Now_Us() / 1000;  // the sensor's clock: message k is due 20 k ms on
      if (n > 0) Send(master, sensor.Receive(std::string(buf, static_cast<size_t>(n)), nowMs));
      if (!was && sensor.Streaming()) {
        streamUs = nowMs * 1000 - origin;
        log << "stream " << streamUs << "\n" << std::flush;
      }
    }
    Send(master, sensor.Due(Now_Us() / 1000));
    // Every block whose end has passed goes to the sound server, with the clicks in it.
    while (Now_Us() - origin >= static_cast<int64_t>(std::llround((blocks + 1) * blockMs * 1000))) {
      const auto from = static_cast<int64_t>(std::llround(blocks * blockMs * Rate / 1000));
      const auto to = static_cast<int64_t>(std::llround((blocks + 1) * blockMs * Rate / 1000));
      pcm.assign(static_cast<size_t>(to - from), 0);
      if (streamUs >= 0) {
        // The first step in or just before this block, and every one after it.
        const double firstMs = static_cast<double>(from) * 1000 / Rate - static_cast<double>(streamUs) / 1000;
        int64_t j = std::max<int64_t>(1, static_cast<int64_t>(std::floor(firstMs / (20.0 * Step))) - 1);
        for (;; ++j) {
          const auto click =
              static_cast<int64_t>(std::llround((static_cast<double>(streamUs) / 1e6 + j * Step * 0.02) * Rate));
          if (click >= to) break;
          for (int64_t f = std::max(click, from); f < std::min(click + ClickFrames, to); ++f)
            pcm[static_cast<size_t>(f - from)] = ClickValue;
        }
      }
      // A full pipe (the server is not reading) loses whole blocks only, so that the
      // samples stay aligned: what part of a block went in, the rest follows first.
      const auto put = [&] {
        while (!pending.empty()) {
          const ssize_t n = write(sound, pending.data(), pending.size());
          if (n <= 0) return;
          pending.erase(0, static_cast<size_t>(n));
        }
      };
      put();
      if (pending.empty()) {
        pending.assign(reinterpret_cast<const char*>(pcm.data()),
                       reinterpret_cast<const char*>(pcm.data() + pcm.size()));
        put();
      } else {
        ++dropped;
      }
      ++blocks;
    }
  }
  log << "dropped " << dropped << "\n";
  close(slave);
  close(master);
  close(sound);
  return 0;
}

// ---------------------------------------------------------------------------------------

struct Record {
  int64_t timeMs;
  int32_t raw;
};

std::vector<int16_t> Read_Wav(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::vector<char> all((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  std::vector<int16_t> s;
  if (all.size() <= 44) return s;
  s.resize((all.size() - 44) / 2);
  std::memcpy(s.data(), all.data() + 44, s.size() * 2);
  return s;
}

int Analyse(const std::string& logPath, const std::string& csvPath, const std::string& wavPath) {
  std::ifstream log(logPath);
  std::string word;
  int64_t v = 0;
  while (log >> word >> v) {
    if (word == "dropped" && v > 0) std::cout << "note: " << v << " sound blocks could not be written\n";
  }
  std::ifstream csv(csvPath);
  std::string line;
  std::getline(csv, line);  // the header
  std::vector<Record> recs;
  while (std::getline(csv, line)) {
    std::stringstream ls(line);
    std::string index, time, raw;
    std::getline(ls, index, ',');
    std::getline(ls, time, ',');
    std::getline(ls, raw, ',');
    recs.push_back({std::stoll(time), std::stoi(raw)});
  }
  const std::vector<int16_t> wav = Read_Wav(wavPath);
  if (recs.size() < 100 || wav.empty()) {
    std::cout << "no recording to read (" << recs.size() << " records, " << wav.size() << " samples)\n";
    return 1;
  }
  // The clicks, in ms of the sound.
  std::vector<double> clicks;
  int64_t quiet = Rate;
  for (size_t i = 0; i < wav.size(); ++i) {
    if (std::abs(wav[i]) > ClickValue / 2) {
      if (quiet > Rate / 10) clicks.push_back(static_cast<double>(i) * 1000 / Rate);
      quiet = 0;
    } else {
      ++quiet;
    }
  }
  // Each record's message number, from the count in the low byte (records are never 256
  // messages apart); it is off from the sensor's by a multiple of 256, which matters not.
  std::vector<int64_t> msg(recs.size());
  msg[0] = recs[0].raw & 0xFF;
  for (size_t i = 1; i < recs.size(); ++i)
    msg[i] = msg[i - 1] + ((recs[i].raw & 0xFF) - (recs[i - 1].raw & 0xFF) + 256) % 256;
  // A step: the level changes between records of consecutive messages, so that the second
  // is the step's message. The steps lie Step messages apart from there.
  size_t change = 1;
  while (change < recs.size() &&
         ((recs[change].raw >> 8) == (recs[change - 1].raw >> 8) || msg[change] != msg[change - 1] + 1))
    ++change;
  if (change == recs.size() || clicks.empty()) {
    std::cout << "no step in the recording\n";
    return 1;
  }
  // Match every click to the step nearest its time by the records' own clock, then fit the
  // sound's time line of the messages: sound ms = a + b x message.
  const double anchorMs = static_cast<double>(recs[change].timeMs);
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  int n = 0;
  for (double c : clicks) {
    const double j = std::round((c - anchorMs) / (20.0 * Step));
    const auto k = static_cast<double>(msg[change]) + j * Step;
    sx += k, sy += c, sxx += k * k, sxy += k * c;
    ++n;
  }
  const double b = n > 1 ? (n * sxy - sx * sy) / (n * sxx - sx * sx) : 20.0;
  const double a = (sy - b * sx) / n;
  std::vector<double> off;
  int reversals = 0;
  for (size_t i = 0; i < recs.size(); ++i) {
    off.push_back(static_cast<double>(recs[i].timeMs) - (a + b * static_cast<double>(msg[i])));
    if (i > 0 && recs[i].timeMs < recs[i - 1].timeMs) ++reversals;
  }
  // The fit absorbs a constant only if the records drift; report the residual of clicks too.
  double mean = 0;
  for (double o : off) mean += o;
  mean /= static_cast<double>(off.size());
  double var = 0;
  for (double o : off) var += (o - mean) * (o - mean);
  const double sd = std::sqrt(var / static_cast<double>(off.size()));
  const auto [lo, hi] = std::minmax_element(off.begin(), off.end());
  int beyond40 = 0;
  for (double o : off) beyond40 += std::abs(o) > 40 ? 1 : 0;
  char text[400];
  std::snprintf(text, sizeof text,
                "%zu records, %d clicks, %.2f ms per message on the sound: record minus sound mean %.1f ms, "
                "spread %.1f ms, min %.1f ms, max %.1f ms; %d beyond 40 ms; TimeMs went back %d times\n",
                recs.size(), n, b, mean, sd, *lo, *hi, beyond40, reversals);
  std::cout << text;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> a(argv + 1, argv + argc);
  if (a.size() == 4 && a[0] == "feed") return Feed(a[1], std::atof(a[2].c_str()), a[3]);
  if (a.size() == 4 && a[0] == "analyse") return Analyse(a[1], a[2], a[3]);
  std::cerr << "usage: zk_timebase_rig feed FIFO BLOCK_MS LOG | analyse LOG CSV WAV\n";
  return 2;
}
