// Writes a recording for the end-to-end playback test: BASE.zkd, whose needle sweeps at an
// even pace from -8000 to +8000 over the given number of seconds on the traditional dial
// (50 records a second, with the time-and-date records, started at 10:15:00), and BASE.wav,
// a quiet tone as long as the records.
// Usage: zk_make_sweep BASE SECONDS
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/SampleRecord.h"
#include "sound/SoundFile.h"
#include "zkd/RecordFile.h"

namespace {

constexpr int RecordsPerSecond = 50;
constexpr int From = -8000, To = 8000;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zk_make_sweep BASE SECONDS\n");
    return 2;
  }
  const std::string base = argv[1];
  const int seconds = std::atoi(argv[2]);
  if (seconds < 1) return 2;
  const int count = seconds * RecordsPerSecond;
  std::vector<zk::SampleRecord> records(static_cast<std::size_t>(count) + 1);
  for (int k = 1; k <= count; ++k) {
    zk::SampleRecord& r = records[k];
    r.TimeMs = (k - 1) * 1000 / RecordsPerSecond;
    r.Needle = static_cast<int16_t>(From + (To - From) * static_cast<long>(k - 1) / (count - 1));
    r.Raw = 20000;
    r.BaseStep = 100;
    r.Sensitivity = 20;  // not the user's step: a stop or an exit must give that back
    r.Flags = static_cast<uint8_t>(1 << zk::RecordFlags::DialTypeShift);  // the traditional dial
    r.Letter = 'P';
  }
  zk::RecordHeader header;
  header.RecordStartSeconds = 10 * 3600 + 15 * 60;
  header.RecordStartDay = 9839;
  if (zk::FileError err = zk::WriteRecordFile(base + ".zkd", records, count, header)) {
    std::fprintf(stderr, "zk_make_sweep: %s\n", err.description.c_str());
    return 1;
  }
  const zk::PcmFormat fmt{22050, 1};
  zk::PcmSamples sound;
  for (long i = 0; i < static_cast<long>(seconds) * fmt.rate; ++i)
    sound.push_back(static_cast<int16_t>(800 * std::sin(2 * M_PI * 440.0 * i / fmt.rate)));
  if (zk::FileError err = zk::SaveWavFile(base + ".wav", sound, fmt)) {
    std::fprintf(stderr, "zk_make_sweep: %s\n", err.description.c_str());
    return 1;
  }
  return 0;
}
