// Writing and reading a two-hour recording: 360 000 records at 50 a second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "zkd/RecordFile.h"

namespace {

constexpr int32_t TwoHours = 360000;

std::vector<zk::SampleRecord> Recording() {
  std::vector<zk::SampleRecord> buf(TwoHours + 1);
  for (int32_t k = 1; k <= TwoHours; ++k) {
    buf[k].TimeMs = (k - 1) * 20;
    buf[k].Raw = static_cast<int16_t>(k * 7);
    buf[k].Needle = static_cast<int16_t>(k % 20000 - 10000);
    buf[k].Sensitivity = 8;
    buf[k].Letter = 'P';
  }
  return buf;
}

// A private folder for the benchmark's file, removed again with it.
struct TempFile {
  TempFile() {
    char pattern[] = "/tmp/zkbench.XXXXXX";
    if (::mkdtemp(pattern)) folder = pattern;
    path = folder + "/two-hours.zkd";
  }
  ~TempFile() {
    std::remove(path.c_str());
    ::rmdir(folder.c_str());
  }
  std::string folder = "/tmp", path;
};

void BM_WriteTwoHours(benchmark::State& state) {
  const auto buf = Recording();
  TempFile file;
  const std::string& path = file.path;
  for (auto _ : state) {
    zk::FileError err = zk::WriteRecordFile(path, buf, TwoHours, zk::RecordHeader{1, 1, 36000, 9839});
    if (err) state.SkipWithError(err.description.c_str());
  }
}
BENCHMARK(BM_WriteTwoHours)->Unit(benchmark::kMillisecond);

void BM_ReadTwoHours(benchmark::State& state) {
  TempFile file;
  const std::string& path = file.path;
  zk::WriteRecordFile(path, Recording(), TwoHours, zk::RecordHeader{1, 1, 36000, 9839});
  for (auto _ : state) {
    zk::RecordFileData data;
    if (zk::ReadRecordFile(path, data).status != zk::ReadStatus::Ok || data.RecordCount != TwoHours)
      state.SkipWithError("the recording did not read back");
    benchmark::DoNotOptimize(data.records.data());
  }
}
BENCHMARK(BM_ReadTwoHours)->Unit(benchmark::kMillisecond);

}  // namespace
