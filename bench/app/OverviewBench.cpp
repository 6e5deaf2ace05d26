// The overview window on a two-hour recording (360 000 records) at 1600 x 600: opening
// it (copy, reduce, draw the picture, index the navigator) and moving its cursor by one
// column as playback does (one update of the cursor's strip, painted at once), and one
// zoom step: the wheel's halving of the span, each step drawn for the span shown alone
// (from the whole down to a minute, then back). Also the
// EDF+ export of the same recording, and the tag list filled for it with a tag every
// five seconds (1440 tags), half of them with notes.
#include <QApplication>

#include <benchmark/benchmark.h>

#include "QtTestApp.h"
#include "TestFiles.h"
#include "app/TagList.h"
#include "app/frmOverview.h"
#include "core/Prompts.h"
#include "core/SessionState.h"
#include "export/EdfExport.h"

namespace {

constexpr int32_t TwoHours = 360000;

// A wandering two-hour recording with a tag a minute and the lamps now and then.
zk::SessionState TwoHourSession() {
  zk::SessionState st;
  st.RecordBuffer.resize(TwoHours + 1);
  for (int32_t k = 1; k <= TwoHours; ++k) {
    zk::SampleRecord& r = st.RecordBuffer[k];
    r.TimeMs = (k - 1) * 20;
    r.Raw = static_cast<int16_t>(20000 + (k * 7) % 9000);
    r.Needle = static_cast<int16_t>(k % 20000 - 10000);
    r.BaseStep = static_cast<uint8_t>(80 + (k / 3000) % 40);
    r.Sensitivity = static_cast<uint8_t>(16 + (k / 60000));
    r.Flags = static_cast<uint8_t>((k / 1000) % 4);
    if (k % 3000 == 0) {
      r.Marker = 'T';
      r.Tag = static_cast<uint16_t>(k / 3000);
    }
  }
  st.RecordCount = TwoHours;
  st.TotalTimeMs = (TwoHours - 1) * 20;
  st.RecordName = "two-hours";
  return st;
}

void BM_OverviewOpen(benchmark::State& state) {
  const zk::SessionState st = TwoHourSession();
  zk::frmOverview w(st, nullptr, nullptr);
  w.resize(1600, 600);
  for (auto _ : state) {
    w.Redraw();
    benchmark::DoNotOptimize(w.Picture().constBits());
  }
}
BENCHMARK(BM_OverviewOpen)->Unit(benchmark::kMillisecond);

void BM_OverviewCursorMove(benchmark::State& state) {
  zk::SessionState st = TwoHourSession();
  st.OperatingMode = zk::ModePlayback;
  zk::frmOverview w(st, nullptr, nullptr);
  w.resize(1600, 600);
  w.show();
  QApplication::processEvents();
  int32_t k = 1;
  for (auto _ : state) {
    k = k % TwoHours + 250;  // one column of 1500 is 240 records
    st.RecordIndex = k;
    w.Follow();
    w.repaint(QRect(*w.CursorX() - 1, 0, 3, 600));
  }
}
BENCHMARK(BM_OverviewCursorMove)->Unit(benchmark::kMicrosecond);

void BM_OverviewZoomStep(benchmark::State& state) {
  const zk::SessionState st = TwoHourSession();
  zk::frmOverview w(st, nullptr, nullptr);
  w.resize(1600, 600);
  w.Redraw();
  const int32_t middle = st.TotalTimeMs / 2;
  int32_t span = st.TotalTimeMs;
  bool in = true;
  for (auto _ : state) {
    // Halving the span about the middle until a minute shows, then doubling it back.
    span = in ? span / 2 : span * 2;
    if (span <= 60000) in = false;
    if (span >= st.TotalTimeMs) {
      span = st.TotalTimeMs;
      in = true;
    }
    w.Zoom_To(zk::plot::TimeRange{middle - span / 2, middle + span / 2});
    benchmark::DoNotOptimize(w.Picture().constBits());
  }
}
BENCHMARK(BM_OverviewZoomStep)->Unit(benchmark::kMillisecond);

void BM_EdfExportTwoHours(benchmark::State& state) {
  const zk::SessionState st = TwoHourSession();
  const zk::RecordFileData data = zk::RecordingInMemory(st);
  zk::test::TempFolder dir;
  for (auto _ : state)
    if (zk::FileError e = zk::WriteEdf(data, {zk::DateTime{2026, 3, 14}, "x"}, dir / "two-hours.edf"))
      state.SkipWithError(e.description.c_str());
}
BENCHMARK(BM_EdfExportTwoHours)->Unit(benchmark::kMillisecond);

// Prompts that are never shown: the benchmark writes no notes file.
class NoPrompts : public zk::Prompts {
 public:
  zk::MsgResult MsgBox(const std::string&, const std::string&, zk::MsgButtons, zk::MsgIcon) override {
    return zk::MsgResult::OK;
  }
  std::optional<std::string> OpenFile(const zk::FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const zk::FileDialogRequest&) override { return std::nullopt; }
  std::optional<int32_t> ChooseColor(int32_t) override { return std::nullopt; }
};

void BM_TagListFillTwoHours(benchmark::State& state) {
  zk::SessionState st = TwoHourSession();
  st.RecordStartSeconds = 9 * 3600;
  NoPrompts prompts;
  zk::RecordingNotes notes(prompts);
  int tags = 0;
  for (int32_t k = 250; k <= TwoHours; k += 250) {
    st.RecordBuffer[k].Marker = 'T';
    st.RecordBuffer[k].Tag = static_cast<uint16_t>(++tags);
    if (tags % 2) notes.Set_Tag(tags, "a note of some words on tag " + std::to_string(tags));
  }
  zk::TagList list(notes, nullptr, nullptr);
  list.resize(300, 600);
  list.show();
  for (auto _ : state) {
    list.Fill(st);
    list.repaint();  // the rows in view drawn, as the window shows them
  }
  state.counters["tags"] = tags;
}
BENCHMARK(BM_TagListFillTwoHours)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  zk::test::TestApp();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
