#pragma once
// Test stand-ins for the platform seams: a clock and timers on a virtual timeline, an
// event pump that moves that timeline on, scripted prompts, a control table, and a view
// and shell that count what was asked of them.
#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/Context.h"
#include "core/ControlTable.h"
#include "core/RecordSink.h"
#include "core/StreamGate.h"
#include "core/VirtualTime.h"

namespace zk::test {

// Virtual time at 10:00 on 8 December 2026; Advance() fires due timers in order, and
// DoEvents lets 5 ms pass so that waiting loops end.
struct Timeline : VirtualClock {
  Timeline() : VirtualClock(36000.0, DateTime{2026, 12, 8, 10, 0, 0}) {}
};
using FakeTimer = VirtualTimer;
using FakeEvents = VirtualEvents;

// Answers message boxes and dialogs from queues; records every message shown.
class ScriptedPrompts : public Prompts {
 public:
  struct Shown {
    std::string text, title;
    MsgButtons buttons;
    MsgIcon icon;
  };
  std::vector<Shown> shown;
  std::deque<MsgResult> answers;                 // default: OK / Yes / Retry... first button
  std::deque<std::optional<std::string>> files;  // default: cancel
  std::deque<std::optional<int32_t>> colors;     // default: cancel
  std::vector<FileDialogRequest> fileRequests;
  std::vector<int32_t> colorRequests;

  MsgResult MsgBox(const std::string& text, const std::string& title, MsgButtons b, MsgIcon i) override {
    shown.push_back({text, title, b, i});
    if (!answers.empty()) {
      MsgResult r = answers.front();
      answers.pop_front();
      return r;
    }
    switch (b) {
      case MsgButtons::OK:
      case MsgButtons::OKCancel: return MsgResult::OK;
      case MsgButtons::YesNo:
      case MsgButtons::YesNoCancel: return MsgResult::Yes;
      case MsgButtons::RetryCancel: return MsgResult::Cancel;
    }
    return MsgResult::OK;
  }
  std::optional<std::string> OpenFile(const FileDialogRequest& r) override { return NextFile(r); }
  std::optional<std::string> SaveFile(const FileDialogRequest& r) override { return NextFile(r); }
  std::optional<int32_t> ChooseColor(int32_t initial) override {
    colorRequests.push_back(initial);
    if (colors.empty()) return std::nullopt;
    auto c = colors.front();
    colors.pop_front();
    return c;
  }

 private:
  std::optional<std::string> NextFile(const FileDialogRequest& r) {
    fileRequests.push_back(r);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
  }
};

using FakeControls = ControlTable;

// Counts the drawing calls and keeps their last arguments. Update_LED stores LedColor as
// the real display does.
class RecordingView : public MeterView {
 public:
  explicit RecordingView(SessionState& st) : st_(st) {}
  int drawPanel = 0, needle = 0, removeNeedle = 0, led = 0, mode = 0, base = 0, bd = 0, knob = 0, graph = 0, clock = 0;
  std::vector<int32_t> ledColors;
  std::string lastBase, lastBd;
  int32_t lastGraph = 0;
  int32_t lastNeedle = 0;
  std::vector<std::string> modeTexts;  // StatusText at each banner redraw
  std::tuple<int, int, int, int32_t> lastClock{};
  // Repaints held now (nesting), holds ended, and needles and graph points drawn while held.
  int held = 0, shown = 0, drawnHeld = 0;

  void Draw_Panel() override {
    ++drawPanel;
    st_.ResetPending = true;
  }
  void Draw_Needle(int32_t p) override {
    ++needle;
    lastNeedle = p;
    if (held > 0) ++drawnHeld;
  }
  void Remove_Needle() override { ++removeNeedle; }
  void Update_LED(int32_t c) override {
    ++led;
    ledColors.push_back(c);
    st_.LedColor = c;
  }
  void Update_ModeDisplay() override {
    ++mode;
    modeTexts.push_back(st_.StatusText);
  }
  void Update_BaseDisplay(const std::string& t) override {
    ++base;
    lastBase = t;
  }
  void Update_BdDisplay(const std::string& t) override {
    ++bd;
    lastBd = t;
  }
  void Update_SensKnob() override { ++knob; }
  void Update_Graph(int32_t raw) override {
    ++graph;
    lastGraph = raw;
    if (held > 0) ++drawnHeld;
  }
  void Update_Clock(int16_t& h, int16_t& m, int16_t& s, int32_t d) override {
    ++clock;
    lastClock = {h, m, s, d};
  }
  void Hold_Repaints() override { ++held; }
  void Show_Held() override {
    --held;
    ++shown;
  }

 private:
  SessionState& st_;
};

class FakeShell : public Shell {
 public:
  int stops = 0, commandState = 0, recordModeLabel = 0, resizes = 0, applyMenus = 0, beeps = 0, splashShows = 0,
      splashUnloads = 0;
  std::vector<std::string> splashInfo;
  std::function<void()> onStop;  // what the stop button does beyond being counted
  void cmdStop_Click() override {
    ++stops;
    if (onStop) onStop();
  }
  void Update_Command_State() override { ++commandState; }
  void Update_RecordModeLabel() override { ++recordModeLabel; }
  void Form_Resize() override { ++resizes; }
  void Apply_Settings_To_Menus() override { ++applyMenus; }
  void Beep() override { ++beeps; }
  void Splash_Show() override { ++splashShows; }
  void Splash_Info(const std::string& t) override { splashInfo.push_back(t); }
  void Splash_Unload() override { ++splashUnloads; }
};

// Keeps every needle handed to the recorder.
struct FakeRecordSink : RecordSink {
  std::vector<int16_t> samples;
  std::vector<uint8_t> kinds;
  void Record_Sample(int16_t n, uint8_t kind) override {
    samples.push_back(n);
    kinds.push_back(kind);
  }
};

// Counts what was asked of the reading stream's gate.
struct CountingGate : StreamGate {
  int holds = 0, discards = 0, releases = 0, restarts = 0;
  void Hold() override { ++holds; }
  void Discard() override { ++discards; }
  void Release() override { ++releases; }
  void RestartMeter() override { ++restarts; }
};

// An audio device that only reports what it is told; position is settable by the test.
class FakeAudio : public AudioDevice {
 public:
  int32_t position = 0, length = 0, result = 0;
  AudioMode mode = AudioMode::Stopped;
  bool inputLost = false;
  bool InputLost() const override { return inputLost; }
  std::vector<std::string> calls;
  int32_t Do(const std::string& c) {
    calls.push_back(c);
    return result;
  }
  int32_t Close() override { return Do("close"); }
  int32_t OpenNewRecording() override { return Do("open new"); }
  int32_t Record() override {
    mode = AudioMode::Recording;
    return Do("record");
  }
  int32_t OpenWav(const std::string& p) override { return Do("open wav " + p); }
  int32_t OpenMp3(const std::string& p) override { return Do("open mp3 " + p); }
  int32_t OpenSilentTrack(const std::string& p) override { return Do("open silent " + p); }
  int32_t Play() override {
    mode = AudioMode::Playing;
    return Do("play");
  }
  int32_t PlayFrom(int32_t p) override {
    position = p;
    mode = AudioMode::Playing;
    return Do("play from " + std::to_string(p));
  }
  int32_t Pause() override {
    mode = AudioMode::Paused;
    return Do("pause");
  }
  int32_t Stop() override {
    mode = AudioMode::Stopped;
    return Do("stop");
  }
  int32_t SeekTo(int32_t p) override {
    position = p;
    return Do("seek " + std::to_string(p));
  }
  int32_t SeekToStart() override {
    position = 0;
    return Do("seek start");
  }
  int32_t DeleteFromStart(int32_t b) override { return Do("delete " + std::to_string(b)); }
  int32_t EndAt(int32_t b) override { return Do("end " + std::to_string(b)); }
  int32_t SaveWav(const std::string& p) override { return Do("save " + p); }
  std::vector<int16_t> sound;  // what a recording holds
  int32_t RecordedSound(int32_t from, std::vector<int16_t>& out) override {
    for (std::size_t i = static_cast<std::size_t>(from) / 2; i < sound.size(); ++i) out.push_back(sound[i]);
    return result;
  }
  int32_t OpenRecordedSound(const SoundPieces& next) override {
    sound.clear();
    int16_t piece[1000];
    for (std::size_t n = 0; (n = next(piece, std::size(piece))) > 0;) sound.insert(sound.end(), piece, piece + n);
    return Do("open recorded " + std::to_string(sound.size()));
  }
  int positionQueries = 0;  // how often the position was asked
  int32_t Position(int32_t& p) override {
    ++positionQueries;
    p = position;
    return result;
  }
  int32_t Length(int32_t& l) override {
    l = length;
    return result;
  }
  int32_t Mode(AudioMode& m) override {
    m = mode;
    return result;
  }
  int32_t SamplesPerSec(int32_t& v) override {
    v = 22050;
    return result;
  }
  int32_t BitsPerSample(int32_t& v) override {
    v = 16;
    return result;
  }
  int32_t Channels(int32_t& v) override {
    v = 1;
    return result;
  }
  bool ErrorText(int32_t code, std::string& t) override {
    if (code == 0) {
      t = "The specified command was carried out.";
      return true;
    }
    t = "error " + std::to_string(code);
    return true;
  }
};

// The virtual clock and the window's seven timers on it (t.clock, t.tmrLED ...).
struct TimelineHolder {
  Timeline clock;
};
struct VirtualWindowTimers : TimelineHolder, WindowTimers<FakeTimer> {
  VirtualWindowTimers() : WindowTimers<FakeTimer>(static_cast<VirtualClock&>(clock)) {}
};

// Everything a subsystem needs, wired to the fakes above.
struct TestContext : VirtualWindowTimers {
  Settings settings;
  SessionState state;
  FakeEvents events{clock};
  ScriptedPrompts prompts;
  RecordingView view{state};
  FakeControls controls;
  FakeShell shell;
  FakeAudio audio;
  FakeRecordSink recorder;
  Context ctx{settings, state, clock, events, prompts, All(), view, controls, shell, audio, "/tmp"};
};

}  // namespace zk::test
