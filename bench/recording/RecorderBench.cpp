// The recorder's share of each reading (Record_Sample), with the allocations it makes, and
// the memory an hour's recording takes: its records and its sound. With the recovery spool
// on, the same share and the longest single reading ("max_us": the longest the reading
// path waits for the spool).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "Fakes.h"
#include "TransportLog.h"
#include "recording/Recorder.h"
#include "recording/RecordingMemory.h"
#include "sound/AudioFactory.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

// Every allocation of the program is counted.
void* operator new(std::size_t n) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace zk;
using namespace zk::test;

struct OpenGate : StreamGate {
  void Hold() override {}
  void Discard() override {}
  void Release() override {}
  void RestartMeter() override {}
};
struct NoDialog : RecordingSetupDialog {
  void Show_Recording_Setup() override {}
};

struct Rig {
  explicit Rig(Context& ctx) : memory(ctx), saver(ctx, memory, dialog), recorder(ctx, bar, gate, memory, saver) {
    memory.Empty_Buffer();
    ctx.state.OperatingMode = ModeRecording;
    ctx.state.RecordIndex = 1;
  }
  TransportLog bar;
  OpenGate gate;
  NoDialog dialog;
  RecordingMemory memory;
  RecordingSaver saver;
  Recorder recorder;
};

constexpr int32_t OneHour = 3600 * 50;

// One reading after another, 50 a second, with sound (timed from the sound's position).
void BM_Record_Sample(benchmark::State& s) {
  TestContext tc;
  Rig rig(tc.ctx);
  SessionState& st = tc.state;
  const long before = allocations.load();
  int16_t needle = 0;
  for (auto _ : s) {
    ++st.RecSampleCount;
    st.AudioPosition = SoundBytesPerSecond + (st.RecSampleCount % OneHour) * (SoundBytesPerSecond / 50);
    st.RawReading = 30000 + (needle & 255);
    rig.recorder.Record_Sample(++needle, 'P');
    if (st.RecordIndex > OneHour) st.RecordIndex = 1;  // the next hour reuses the buffer
  }
  s.counters["allocs_per_record"] =
      benchmark::Counter(static_cast<double>(allocations.load() - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Record_Sample);

// Readings through the recorder while the clock-driven sound device records, 50 a second,
// with the spool on or off (the argument). Between seconds the disk gets the time a real
// second would give it; that wait is not timed.
void BM_Record_Sample_Device(benchmark::State& s) {
  const bool spooled = s.range(0) != 0;
  char pattern[] = "/tmp/zkbench.XXXXXX";
  const std::string folder = ::mkdtemp(pattern) ? pattern : "/tmp";
  TestContext tc;
  auto device = MakeNullAudioDevice(tc.clock);
  Context ctx{tc.settings, tc.state,    tc.clock, tc.events, tc.prompts, tc.All(),
              tc.view,     tc.controls, tc.shell, *device,   "/tmp"};
  Rig rig(ctx);
  SessionState& st = tc.state;
  device->OpenNewRecording();
  device->Record();
  tc.clock.now += 1.0;  // the pre-roll
  if (spooled) rig.memory.Spool().SetFolder(folder + "/recovery");
  rig.memory.Spool().Begin();
  double longest = 0;
  for (auto _ : s) {
    tc.clock.now += 0.02;
    int32_t position = 0;
    device->Position(position);
    if (++st.RecSampleCount > 50) {
      st.RecSampleCount = 1;
      ++st.ElapsedSecs;
      if (SpoolWriter* spool = rig.memory.Spool().Current()) {
        s.PauseTiming();
        spool->WaitDurable();
        s.ResumeTiming();
      }
    }
    const auto t0 = std::chrono::steady_clock::now();
    rig.recorder.Record_Sample(0, 'P');
    longest =
        std::max(longest, std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
  }
  s.counters["max_us"] = longest;
  rig.memory.Spool().Remove();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_Record_Sample_Device)->Arg(0)->Arg(1)->Iterations(50 * 120);

long ResidentKiB() {
  long kib = 0;
  if (FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f))
      if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1) break;
    std::fclose(f);
  }
  return kib;
}

// An hour recorded with the clock-driven sound device (which keeps the same samples a
// sound card would deliver): the memory it holds once stopped.
void BM_HourInMemory(benchmark::State& s) {
  for (auto _ : s) {
    TestContext tc;
    auto device = MakeNullAudioDevice(tc.clock);
    Context ctx{tc.settings, tc.state,    tc.clock, tc.events, tc.prompts, tc.All(),
                tc.view,     tc.controls, tc.shell, *device,   "/tmp"};
    const long rssBefore = ResidentKiB();
    Rig rig(ctx);
    device->OpenNewRecording();
    device->Record();
    SessionState& st = tc.state;
    for (int32_t i = 0; i < OneHour; ++i) {
      tc.clock.now += 0.02;
      int32_t position = 0;
      device->Position(position);  // the receive path asks for it at every message
      if (++st.RecSampleCount > 50) {
        st.RecSampleCount = 1;
        ++st.ElapsedSecs;
      }
      rig.recorder.Record_Sample(0, 'P');
    }
    device->Stop();
    int32_t length = 0;
    device->Length(length);
    s.counters["records_MB"] = double(st.RecordBuffer.capacity() * sizeof(SampleRecord)) / 1e6;
    s.counters["sound_MB"] = double(length) / 1e6;
    s.counters["rss_growth_MB"] = double(ResidentKiB() - rssBefore) * 1024 / 1e6;
  }
}
BENCHMARK(BM_HourInMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
