// What spooling costs the UI thread while recording: appending a record, appending sound,
// the call that ends a second (index entry and the hand-over of a batch to the kernel),
// and the stop. Each benchmark also reports the longest single call it saw ("max_us"),
// which is the stall the reading path can suffer from spooling. For comparison, the wait
// a synchronous data sync of one second's data would cost.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "spool/SpoolWriter.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TempFolder {
  TempFolder() {
    char pattern[] = "/tmp/zkbench.XXXXXX";
    if (::mkdtemp(pattern)) path = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string path = "/tmp";
};

zk::SpoolInfo Info() {
  zk::SpoolInfo info;
  info.RecordStartSeconds = 50531;
  info.RecordDate = 46364;
  info.Audio = true;
  return info;
}

zk::SampleRecord Record(int k) {
  zk::SampleRecord r;
  r.TimeMs = k * 20;
  r.Raw = static_cast<int16_t>(k * 7);
  r.Letter = 'P';
  return r;
}

// Longest single call, in microseconds.
struct Longest {
  double us = 0;
  template <typename F>
  void Time(F&& f) {
    const auto t0 = Clock::now();
    f();
    us = std::max(us, std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
};

// One second of recording as the UI thread spools it: the sound of the second (in the
// pieces a receive call takes, 20 ms each) and its 50 records; the first record ends the
// second before. Between seconds the disk gets the time a real second gives it.
void BM_SpoolOneSecond(benchmark::State& state) {
  TempFolder dir;
  zk::FileError err;
  auto spool = zk::SpoolWriter::Begin(dir.path + "/recovery", Info(), err);
  if (!spool) return state.SkipWithError(err.description.c_str());
  const std::vector<int16_t> piece(441, 1);
  Longest longest;
  int32_t second = 0;
  int k = 0;
  for (auto _ : state) {
    for (int i = 0; i < 50; ++i) {
      longest.Time([&] {
        spool->AppendSound(piece.data(), piece.size());
        spool->AppendRecord(Record(++k), second);
      });
    }
    ++second;
    state.PauseTiming();
    spool->WaitDurable();
    state.ResumeTiming();
  }
  state.counters["max_us"] = longest.us;
  if (spool->Failure()) state.SkipWithError("the spool failed");
}
BENCHMARK(BM_SpoolOneSecond)->Unit(benchmark::kMicrosecond)->Iterations(300);

// Starting a spool and ending it normally after ten seconds: Begin, Finish and Remove,
// each timed on its own. The seconds are given the disk time a real second gives it, so
// Finish finds the last batch done; Remove right after Finish waits for the final batch
// (a stop with "Auto Save" saves the recording in between, which takes longer).
void BM_SpoolBeginFinishRemove(benchmark::State& state) {
  TempFolder dir;
  const std::vector<int16_t> second(22050, 1);
  Longest begin, finish, remove;
  int n = 0;
  for (auto _ : state) {
    zk::FileError err;
    std::unique_ptr<zk::SpoolWriter> spool;
    zk::SpoolInfo info = Info();
    info.RecordStartSeconds = n++ % 86400;
    begin.Time([&] { spool = zk::SpoolWriter::Begin(dir.path + "/recovery", info, err); });
    if (!spool) return state.SkipWithError(err.description.c_str());
    for (int s = 0; s < 10; ++s) {
      spool->AppendSound(second.data(), second.size());
      for (int i = 0; i < 50; ++i) spool->AppendRecord(Record(s * 50 + i + 1), s);
      spool->WaitDurable();
    }
    finish.Time([&] { spool->Finish(10); });
    remove.Time([&] { spool->Remove(); });
  }
  state.counters["begin_max_us"] = begin.us;
  state.counters["finish_max_us"] = finish.us;
  state.counters["remove_max_us"] = remove.us;
}
BENCHMARK(BM_SpoolBeginFinishRemove)->Unit(benchmark::kMillisecond)->Iterations(30);

// For comparison: writing one second of records and sound and waiting for fdatasync, as a
// spool without asynchronous I/O would on the UI thread.
void BM_SynchronousSyncPerSecond(benchmark::State& state) {
  TempFolder dir;
  const int fd = ::open((dir.path + "/sound").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const std::vector<int16_t> second(22050, 1);
  Longest longest;
  for (auto _ : state) {
    longest.Time([&] {
      if (::write(fd, second.data(), second.size() * 2) < 0 || ::fdatasync(fd) != 0)
        state.SkipWithError("write failed");
    });
  }
  ::close(fd);
  state.counters["max_us"] = longest.us;
}
BENCHMARK(BM_SynchronousSyncPerSecond)->Unit(benchmark::kMicrosecond)->Iterations(100);

}  // namespace
