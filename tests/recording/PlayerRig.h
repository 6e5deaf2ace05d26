#pragma once
// The player on virtual time with the clock-driven sound device, shared by the player's and
// the seek bar's tests: a view that keeps every needle drawn and how late it came, and a
// fixture that loads a recording and scripts events in the middle of the play loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Fakes.h"
#include "TestFiles.h"
#include "TransportLog.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"
#include "recording/Player.h"
#include "recording/RecordLoader.h"
#include "sound/AudioFactory.h"

namespace zk::test {

// Keeps, for every needle drawn, the record shown and how late it came on the sound clock.
class PlayView : public RecordingView {
 public:
  PlayView(SessionState& st, std::function<int32_t()> soundMs)
      : RecordingView(st), st_(st), soundMs_(std::move(soundMs)) {}
  struct Drawn {
    int32_t index;  // record number
    int32_t timeMs;
    int32_t lateMs;
  };
  std::vector<Drawn> drawn;
  void Draw_Needle(int32_t p) override {
    RecordingView::Draw_Needle(p);
    drawn.push_back({st_.RecordIndex - 1, st_.WorkRecord.TimeMs, soundMs_() - st_.WorkRecord.TimeMs});
  }
  std::vector<int32_t> Indices() const {
    std::vector<int32_t> v;
    for (const Drawn& d : drawn) v.push_back(d.index);
    return v;
  }

 private:
  SessionState& st_;
  std::function<int32_t()> soundMs_;
};

class PlayerTest : public ::testing::Test {
 protected:
  PlayerTest() {
    table.Init_SensTable();
    t.state.DummyAudioPath = std::string(ZK_PROGRAM_FOLDER) + "/dummy.mp3";
  }

  // A recording of `count` records 20 ms apart on the silent track (positions in ms).
  void Load(int count) { Load(Readings(count)); }
  void Load(std::vector<SampleRecord> records) {
    SessionState& st = t.state;
    st.RecordCount = static_cast<int32_t>(records.size()) - 1;
    st.TotalTimeMs = records.back().TimeMs;
    st.RecordBuffer = std::move(records);
    st.RangeStartIndex = 1;
    st.RangeEndIndex = st.RecordCount;
    st.FileLoaded = true;
    ASSERT_TRUE(Open_Silent_Track(ctx));
    player.Show_Loaded_File("/rec/take001");
  }

  int32_t SoundPosition() {
    int32_t pos = 0;
    device->Position(pos);
    return pos;
  }
  AudioMode SoundMode() {
    AudioMode m = AudioMode::NotReady;
    device->Mode(m);
    return m;
  }
  // Runs `f` `seconds` from now: scripted before Play(), from the play command.
  void At(double seconds, std::function<void()> f) { t.events.At(t.clock.now + seconds, std::move(f)); }
  void Play() {
    t0 = t.clock.now;
    player.cmdPlay_Click();
  }

  TestContext t;
  double t0 = 0;
  std::vector<std::string> notices;
  std::unique_ptr<AudioDevice> device =
      MakeNullAudioDevice(t.clock, [this](const std::string& text) { notices.push_back(text); });
  PlayView view{t.state, [this] { return SoundPosition() * 1000 / std::max(1, t.state.PlayUnitsPerSecond); }};
  Context ctx{t.settings, t.state,    t.clock, t.events, t.prompts,        t.ctx.timers,
              view,       t.controls, t.shell, *device,  ZK_PROGRAM_FOLDER};
  SensitivityTable table;
  MeterEngine engine{ctx, table};
  TransportLog bar;
  CountingGate gate;
  Transport transport{ctx, bar};
  Player player{ctx, bar, engine, gate, transport};
};

}  // namespace zk::test
