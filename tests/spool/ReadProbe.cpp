// Reads a spool in a process of its own whose address space may grow by a given number of
// bytes at most, and prints "content seconds problem" (the sound is checked against the
// spool tests' ramp). Usage: spool_read_probe FOLDER BUDGET
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/RecordingRates.h"
#include "spool/SpoolReader.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  const rlim_t limit = pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) + std::strtoull(argv[2], nullptr, 10);
  const rlimit rl{limit, limit};
  if (::setrlimit(RLIMIT_AS, &rl) != 0) return 3;
  zk::RecoveredRecording r;
  const zk::SpoolReading reading = zk::ReadSpool(argv[1], r);
  bool soundRight = r.sound.size() == static_cast<std::size_t>(r.Seconds) * zk::SoundSampleRate;
  for (std::size_t i = 0; soundRight && i < r.sound.size(); i += 997)
    soundRight = r.sound[i] == static_cast<int16_t>(static_cast<int64_t>(i) % 30011);
  std::printf("%d %d%s %s", static_cast<int>(reading.content), r.Seconds, soundRight ? "" : " bad sound",
              reading.problem.c_str());
  return 0;
}
