// Reads a spool in a process of its own whose address space may grow by a given number of
// bytes at most, and prints "content seconds problem" (the sound is checked against the
// spool tests' ramp). Usage: spool_read_probe FOLDER BUDGET
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "base/RecordingRates.h"
#include "spool/SpoolReader.h"
#include "spool/SpoolSound.h"

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
  // The sound streamed from the spool a piece at a time, as the recovery takes it.
  bool soundRight = r.SoundBytes == static_cast<uint64_t>(r.Seconds) * zk::SoundBytesPerSecond;
  zk::SpoolSound sound(argv[1], r);
  int16_t piece[4096];
  int64_t at = 0;
  for (std::size_t n = 0; soundRight && (n = sound.Read(piece, std::size(piece))) > 0; at += static_cast<int64_t>(n))
    for (std::size_t i = 0; i < n; ++i)
      soundRight = soundRight && piece[i] == static_cast<int16_t>((at + static_cast<int64_t>(i)) % 30011);
  soundRight = soundRight && at * 2 == static_cast<int64_t>(r.SoundBytes);
  std::printf("%d %d%s %s", static_cast<int>(reading.content), r.Seconds, soundRight ? "" : " bad sound",
              reading.problem.c_str());
  return 0;
}
