// Opening a two-hour recording (360 000 records) in the window, the way the load dialog
// does once a file is chosen: reading, the progress bar growing in fifty steps with the
// window's events processed at each, and the panel set up. Offscreen platform; the sound
// track is the silent one (audio off), so the figure is the window's and the reader's.
#include <QApplication>

#include <benchmark/benchmark.h>

#include "Fakes.h"
#include "QtTestApp.h"
#include "TestFiles.h"
#include "app/frmMain.h"
#include "core/UnsavedRecording.h"
#include "sound/AudioFactory.h"
#include "zkd/RecordFile.h"

namespace {

void BM_OpenTwoHourRecording(benchmark::State& st) {
  zk::test::TestApp();
  zk::test::TempFolder home;
  constexpr int count = 2 * 3600 * 50;
  if (zk::WriteRecordFile(home / "long.zkd", zk::test::Readings(count), count, std::nullopt)) {
    st.SkipWithError("could not write the recording");
    return;
  }
  zk::SystemClock clock;
  zk::StartOptions o;
  o.programFolder = home.str();
  zk::test::ScriptedPrompts prompts;
  o.prompts = &prompts;
  o.audio = zk::MakeNullAudioDevice(clock);
  zk::frmMain window(std::move(o));
  window.Form_Load();
  window.show();
  window.ctx().settings.AudioEnable = false;
  for (auto _ : st) {
    if (!window.recordingFiles().Open_Recording(home / "long.zkd", *zk::Unsaved_Recording_Guard(window.ctx())))
      st.SkipWithError("not loaded");
  }
  st.counters["records"] = window.ctx().state.RecordCount;
}
BENCHMARK(BM_OpenTwoHourRecording)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
