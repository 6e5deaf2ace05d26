// Every command in every state: the main window on virtual time with a scripted sensor
// and scripted answers. The commands come from the window's own tables — each menu item
// with a handler (the first and last item of an array), each record panel button and
// right click, each key of the key table — and each is fired in each state of the
// session, once with every question answered the first way and once more for each
// question answered the other way. After every run the invariants must hold: a recording
// running or unsaved is intact unless the user let it go, its records carry a message
// letter and times that never go back, the spool holds what memory holds, nothing threw,
// no wait outlived its bound, and the panel is as the command state says.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

#include "FakeSerialPort.h"
#include "Fakes.h"
#include "QtTestApp.h"
#include "TempFiles.h"
#include "app/RecordPanel.h"
#include "app/frmMain.h"
#include "base/RecordingCodes.h"
#include "core/UnsavedRecording.h"
#include "link/ReadingStart.h"
#include "sound/AudioFactory.h"

namespace zk::test {
namespace {

namespace fs = std::filesystem;

// The longest a single command may keep the window busy, in virtual seconds.
constexpr double RunBound = 90.0;
// More questions than this in one run is a loop of questions.
constexpr int MaxPrompts = 12;

// Events on virtual time: 5 ms a call, the receive event when it is due, scripted actions
// at their moments.
class MatrixEvents : public Events {
 public:
  MatrixEvents(Timeline& clock, FakeSerialPort& port) : clock_(clock), port_(port) {}
  void DoEvents() override { Pass(0.005); }
  void DoEventsFor(double seconds) override { Pass(std::min(seconds, 0.005)); }
  void At(double t, std::function<void()> action) { script_.emplace(t, std::move(action)); }
  void Bound(double until) { bound_ = until; }

 private:
  void Pass(double dt) {
    if (clock_.now > bound_) throw std::runtime_error("a wait outlived its bound");
    clock_.Advance(std::max(dt, 0.0005));
    while (!script_.empty() && script_.begin()->first <= clock_.now) {
      auto action = std::move(script_.begin()->second);
      script_.erase(script_.begin());
      action();
    }
    port_.Pump();
  }
  Timeline& clock_;
  FakeSerialPort& port_;
  std::multimap<double, std::function<void()>> script_;
  double bound_ = 1e9;
};

// Answers every question and dialog the first way (OK, Yes, Retry twice, a file, a
// colour) except those whose number is in `flip`, which get the other way (No, Cancel).
class MatrixPrompts : public Prompts {
 public:
  struct Asked {
    std::string text;
    bool first;
  };
  std::set<int> flip;
  std::vector<Asked> asked;
  std::string folder, recording, settings;
  int retries = 0;

  MsgResult MsgBox(const std::string& text, const std::string&, MsgButtons b, MsgIcon) override {
    const bool first = Take(text);
    switch (b) {
      case MsgButtons::OK: return MsgResult::OK;
      case MsgButtons::OKCancel: return first ? MsgResult::OK : MsgResult::Cancel;
      case MsgButtons::YesNo:
      case MsgButtons::YesNoCancel: return first ? MsgResult::Yes : MsgResult::No;
      case MsgButtons::RetryCancel: return first && ++retries <= 2 ? MsgResult::Retry : MsgResult::Cancel;
    }
    return MsgResult::OK;
  }
  std::optional<std::string> OpenFile(const FileDialogRequest& r) override {
    if (!Take("open: " + r.title)) return std::nullopt;
    return r.filter.find(".ini") != std::string::npos ? settings : recording;
  }
  std::optional<std::string> SaveFile(const FileDialogRequest& r) override {
    if (!Take("save: " + r.title)) return std::nullopt;
    const auto star = r.filter.rfind("*.");
    const std::string ext = star == std::string::npos ? "" : r.filter.substr(star + 1);
    return folder + "/out_" + std::to_string(asked.size()) + ext;
  }
  std::optional<int32_t> ChooseColor(int32_t) override {
    if (!Take("colour")) return std::nullopt;
    return 0x00C000;
  }
  // True when the user answered a question about an unsaved recording with Yes.
  bool Let_Go() const {
    for (const Asked& a : asked)
      if (a.first && a.text.find("not saved") != std::string::npos) return true;
    return false;
  }

 private:
  bool Take(const std::string& text) {
    const int n = static_cast<int>(asked.size());
    const bool first = n < MaxPrompts && !flip.count(n);
    asked.push_back({text, first});
    return first;
  }
};

enum class State {
  Demonstration,
  Live,
  PreRoll,
  Recording,
  Stopping,
  Unsaved,
  Saved,
  FileLoaded,
  Playing,
  Paused,
  Skipping,
  Looping,
  OverviewOpen,
};
constexpr State AllStates[] = {State::Demonstration, State::Live,    State::PreRoll,  State::Recording,
                               State::Stopping,      State::Unsaved, State::Saved,    State::FileLoaded,
                               State::Playing,       State::Paused,  State::Skipping, State::Looping,
                               State::OverviewOpen};
const char* Name(State s) {
  static const char* names[] = {"demonstration", "live",    "pre-roll", "recording", "stopping", "unsaved", "saved",
                                "loaded",        "playing", "paused",   "skipping",  "looping",  "overview"};
  return names[static_cast<int>(s)];
}

// One window on virtual time, in a program folder of its own.
struct Rig {
  explicit Rig(const std::string& sample, const std::string& settingsFile) {
    prompts.folder = home.str();
    prompts.recording = sample;
    prompts.settings = settingsFile;
    StartOptions o;
    o.programFolder = home.str();
    o.prompts = &prompts;
    o.audio = MakeNullAudioDevice(vt.clock);
    o.clock = &vt.clock;
    o.events = &events;
    o.timers.emplace(vt.All());
    o.port = &port;
    f = std::make_unique<frmMain>(std::move(o));
    f->controls().onUnknown = [](std::string_view name, int index) {
      ADD_FAILURE() << "the window has no control " << name << " (" << index << ")";
    };
    f->Form_Load();
    Settings& s = f->ctx().settings;
    fs::create_directories(home.str() + "/rec");
    s.SavePath = home.str() + "/rec/";
    s.SavePrefix = "Take_";
    s.SuffixType = 0;
    s.RecordingMode = RecAutoName;
    s.RecPromptEnable = true;
    f->Update_RecordModeLabel();
    f->Update_Command_State();
  }
  ~Rig() {
    f->ctx().timers.Stop_All();
    f.reset();
  }
  Context& ctx() { return f->ctx(); }
  SessionState& st() { return f->ctx().state; }
  double Now() const { return vt.clock.now; }
  void Run(double seconds) {
    const double end = vt.clock.now + seconds;
    while (vt.clock.now < end) events.DoEvents();
  }
  void At(double after, std::function<void()> action) { events.At(vt.clock.now + after, std::move(action)); }

  // A sensor on port 3, 50 readings a second from now on, and live mode.
  void Live() {
    ctx().settings.CommPort = 3;
    port.SetCommPort(3);
    port.SetPortOpen(true);
    st().SensorType = "3A";
    for (int i = 0; i < 50 * 200; ++i) {
      char msg[16];
      std::snprintf(msg, sizeof msg, "P%04X\r", 30000 + (i * 37) % 4000);
      port.Arrive(msg, i * 0.02 + 0.001);
    }
    Enter_Live_Mode(st());
    Start_Readings(ctx(), port);
    f->Update_Command_State();
  }
  void Record(double seconds) {
    f->cmdRecord_Click();
    Run(seconds);
  }

  TempFolder home;
  VirtualWindowTimers vt;
  FakeSerialPort port{vt.clock};
  MatrixEvents events{vt.clock, port};
  MatrixPrompts prompts;
  std::unique_ptr<frmMain> f;
};

struct Command {
  std::string name;
  std::function<void(frmMain&)> fire;
};

void Click(QAbstractButton* b) {
  if (b->isEnabled() && b->isVisible()) b->click();
}

using ButtonOf = QAbstractButton* (*)(RecordPanel&);
std::vector<std::pair<std::string, ButtonOf>> PanelButtons() {
  return {{"cmdRecord", [](RecordPanel& p) -> QAbstractButton* { return p.cmdRecord; }},
          {"cmdStop", [](RecordPanel& p) -> QAbstractButton* { return p.cmdStop; }},
          {"cmdPlay", [](RecordPanel& p) -> QAbstractButton* { return p.cmdPlay; }},
          {"cmdRev", [](RecordPanel& p) -> QAbstractButton* { return p.cmdRev; }},
          {"cmdFwd", [](RecordPanel& p) -> QAbstractButton* { return p.cmdFwd; }},
          {"cmdLoad", [](RecordPanel& p) -> QAbstractButton* { return p.cmdLoad; }},
          {"cmdSave", [](RecordPanel& p) -> QAbstractButton* { return p.cmdSave; }},
          {"cmdLoop", [](RecordPanel& p) -> QAbstractButton* { return p.cmdLoop; }},
          {"chkOveride", [](RecordPanel& p) -> QAbstractButton* { return p.chkOveride; }}};
}

// The commands as the window's tables have them.
std::vector<Command> Commands(frmMain& f) {
  std::vector<Command> list;
  std::map<std::string, std::pair<int, int>> arrays;
  for (const auto& [name, index] : f.controls().Names()) {
    if (!f.commands().Has(name)) continue;
    auto [it, fresh] = arrays.try_emplace(name, index, index);
    if (!fresh) {
      it->second.first = std::min(it->second.first, index);
      it->second.second = std::max(it->second.second, index);
    }
  }
  for (const auto& [name, range] : arrays) {
    for (int index : std::set<int>{range.first, range.second}) {
      list.push_back({name + "(" + std::to_string(index) + ")", [name = name, index](frmMain& w) {
                        if (w.controls().Enabled(name, index)) w.Choose(name, index);
                      }});
    }
  }
  for (const auto& [name, pick] : PanelButtons())
    list.push_back({name, [pick = pick](frmMain& w) { Click(pick(w.recordPanel())); }});
  list.push_back({"cmdLoad right", [](frmMain& w) {
                    if (w.recordPanel().cmdLoad->isEnabled()) w.recordPanel().onLoadRightClick();
                  }});
  list.push_back({"cmdSave right", [](frmMain& w) {
                    if (w.recordPanel().cmdSave->isEnabled()) w.recordPanel().onSaveRightClick();
                  }});
  list.push_back({"lblLoadedFile right", [](frmMain& w) { w.recordPanel().onLoadedFileRightClick(); }});
  for (const KeyUse& k : KeyTable) {
    list.push_back({"key " + std::to_string(k.code) + (k.shift ? "+Shift" : ""), [k](frmMain& w) {
                      int code = k.code;
                      w.keyboard().Form_KeyDown(code, k.shift);
                      w.keyboard().Form_KeyUp(k.code);
                    }});
  }
  return list;
}

// What must survive a command: the recording running or unsaved before it.
struct Before {
  bool held = false;
  std::vector<SampleRecord> records;  // 1..RecordCount
};

Before Snapshot(Rig& r) {
  Before b;
  const SessionState& st = r.st();
  // A recording that has no record yet (in its pre-roll) has nothing to lose.
  b.held = (st.OperatingMode == ModeRecording && st.RecordCount > 0) || st.RecordingUnsaved;
  if (b.held) b.records.assign(st.RecordBuffer.begin() + 1, st.RecordBuffer.begin() + 1 + st.RecordCount);
  return b;
}

bool SameRecord(const SampleRecord& a, const SampleRecord& b) {
  return a.TimeMs == b.TimeMs && a.Needle == b.Needle && a.Raw == b.Raw && a.Letter == b.Letter && a.Tag == b.Tag;
}

std::string Check(Rig& r, const Before& before, bool exited) {
  const SessionState& st = r.st();
  const int32_t count = Records_Held(st);
  if (before.held && !r.prompts.Let_Go()) {
    const bool saved =
        !st.RecordingUnsaved && st.FileLoaded && fs::exists(r.f->controls().ToolTip("lblLoadedFile") + ".zkd");
    if (!(st.OperatingMode == ModeRecording || st.RecordingUnsaved || saved))
      return "the recording went without a question";
    if (count < static_cast<int32_t>(before.records.size())) return "records were lost";
    for (std::size_t i = 0; i < before.records.size(); ++i)
      if (!SameRecord(before.records[i], st.RecordBuffer[i + 1])) return "record " + std::to_string(i + 1) + " changed";
  }
  for (int32_t i = 1; i <= count; ++i) {
    const SampleRecord& rec = st.RecordBuffer[static_cast<std::size_t>(i)];
    if (rec.Letter == 0 && i > 2) return "record " + std::to_string(i) + " has no message letter";
    if (i > 1 && rec.TimeMs < st.RecordBuffer[static_cast<std::size_t>(i) - 1].TimeMs)
      return "record " + std::to_string(i) + " goes back in time";
  }
  if ((st.OperatingMode == ModeRecording || st.RecordingUnsaved) && st.RecordCount > 0 && !r.prompts.Let_Go()) {
    SpoolWriter* spool = r.f->recording().Spool().Current();
    if (!spool) return "an unsaved recording has no spool";
    if (spool->Records() != st.RecordCount) return "the spool holds another count than memory";
  }
  if (static_cast<int>(r.prompts.asked.size()) > MaxPrompts) return "a loop of questions";
  if (exited) return "";  // the window is closed: its panel is no longer shown
  // The panel is as the command state makes it.
  RecordPanel& p = r.f->recordPanel();
  auto panel = [&] {
    std::vector<bool> v;
    for (const auto& [name, pick] : PanelButtons())
      v.push_back(pick(p)->isEnabled()), v.push_back(pick(p)->isVisibleTo(&p));
    return v;
  };
  const std::vector<bool> shown = panel();
  r.f->Update_Command_State();
  const std::vector<bool> want = panel();
  if (shown != want) return "the panel is not as the command state says";
  return "";
}

class Matrix : public ::testing::TestWithParam<State> {
 public:
  static void SetUpTestSuite() {
    TestApp();
    sampleDir_ = new TempFolder;
    // A recording made and saved by the window itself, and a second settings file.
    Rig r("", "");
    r.Live();
    r.Record(3.0);
    r.f->cmdStop_Click();
    r.f->saver().cmdSave_Click();
    const std::string base = r.f->controls().ToolTip("lblLoadedFile");
    ASSERT_TRUE(fs::exists(base + ".zkd")) << base;
    for (const char* ext : {".zkd", ".wav"}) fs::copy_file(base + ext, sampleDir_->str() + "/sample" + ext);
    sampleDir_->Write("other.ini", "[Recording]\r\nAudioEnable=False\r\nRecordingMode=3\r\n");
  }
  static void TearDownTestSuite() {
    delete sampleDir_;
    sampleDir_ = nullptr;
  }

 protected:
  // Brings a fresh window to `state` and fires the command there: at once, or from inside
  // the wait the state is made of.
  static void Reach_And_Fire(Rig& r, State state, const std::function<void()>& fire) {
    frmMain& f = *r.f;
    auto loaded = [&] { f.recordingFiles().Open_Recording(Sample(), *Unsaved_Recording_Guard(r.ctx())); };
    // Playback ends by itself; a loop is stopped after a while.
    auto wind_down = [&](double after) {
      r.At(after, [&f] {
        if (f.player().Active()) f.cmdStop_Click();
      });
    };
    // A loaded recording played, with `before` done at their moments, the command fired
    // at `at` and the playback stopped at `stop` if it still runs.
    auto play = [&](std::vector<std::pair<double, std::function<void()>>> before, double at, double stop) {
      loaded();
      for (auto& [t, action] : before) r.At(t, std::move(action));
      r.At(at, fire);
      wind_down(stop);
      f.cmdPlay_Click();
    };
    switch (state) {
      case State::Demonstration: fire(); break;
      case State::Live:
        r.Live();
        fire();
        break;
      case State::PreRoll:
        r.Live();
        r.At(0.3, fire);
        f.cmdRecord_Click();
        r.Run(0.3);
        break;
      case State::Recording:
        r.Live();
        r.Record(1.5);
        fire();
        r.Run(0.3);
        break;
      case State::Stopping:
        r.Live();
        r.Record(1.3);
        r.At(0.1, fire);
        f.cmdStop_Click();
        break;
      case State::Unsaved:
      case State::Saved:
        r.Live();
        r.Record(1.5);
        f.cmdStop_Click();
        if (state == State::Saved) f.saver().cmdSave_Click();
        fire();
        break;
      case State::FileLoaded:
        loaded();
        fire();
        break;
      case State::Playing: play({}, 0.5, 8); break;
      case State::Paused: play({{0.5, [&f] { f.cmdPlay_Click(); }}}, 0.8, 3); break;
      case State::Skipping: play({{0.5, [&f] { f.cmdFwd_Click(); }}}, 0.6, 8); break;
      case State::Looping:
        f.cmdLoop_Click();  // the first pass ends at 3 s and the loop starts again
        play({}, 3.6, 9);
        break;
      case State::OverviewOpen:
        loaded();
        f.Choose("mnuViewOverview");
        fire();
        break;
    }
    r.Run(0.2);
  }
  static std::string Sample() { return sampleDir_->str() + "/sample.zkd"; }
  static std::string OtherSettings() { return sampleDir_->str() + "/other.ini"; }
  static TempFolder* sampleDir_;
};
TempFolder* Matrix::sampleDir_ = nullptr;

// Closes any modal dialog the command opens (the display setup, the recording setup, the
// about box) as soon as its own event loop runs.
struct DialogCloser {
  DialogCloser() {
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [] {
      if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    timer.start();
  }
  QTimer timer;
};

int64_t triples = 0;

TEST_P(Matrix, EveryCommandKeepsTheInvariants) {
  const State state = GetParam();
  std::vector<Command> commands;
  {
    Rig lister(Sample(), OtherSettings());
    commands = Commands(*lister.f);
  }
  ASSERT_GT(commands.size(), 60u);
  DialogCloser closer;
  int64_t runs = 0;
  for (const Command& c : commands) {
    // First every question answered the first way; then each question the other way.
    std::vector<std::set<int>> answers{{}};
    for (std::size_t a = 0; a < answers.size(); ++a) {
      Rig r(Sample(), OtherSettings());
      r.prompts.flip = answers[a];
      std::string failure;
      Before before;
      try {
        r.events.Bound(r.Now() + RunBound);
        Reach_And_Fire(r, state, [&] {
          before = Snapshot(r);
          c.fire(*r.f);
        });
        failure = Check(r, before, c.name.rfind("mnuExit", 0) == 0);
      } catch (const std::exception& e) {
        failure = std::string("threw: ") + e.what();
      }
      ++runs;
      std::string script;
      for (const auto& q : r.prompts.asked) script += (q.first ? " +[" : " -[") + q.text + "]";
      EXPECT_EQ(failure, "") << Name(state) << " / " << c.name << " / answers" << script;
      if (a == 0) {
        const int asked = std::min<int>(static_cast<int>(r.prompts.asked.size()), MaxPrompts);
        for (int i = 0; i < asked; ++i) answers.push_back({i});
      }
    }
  }
  triples += runs;
  std::printf("command matrix: %s: %lld (state, command, answer) runs over %zu commands\n", Name(state),
              static_cast<long long>(runs), commands.size());
}

INSTANTIATE_TEST_SUITE_P(States, Matrix, ::testing::ValuesIn(AllStates), [](const ::testing::TestParamInfo<State>& i) {
  std::string n = Name(i.param);
  for (char& ch : n)
    if (ch == '-') ch = '_';
  return n;
});

// A key outside the key table does nothing, with Shift or without: the table is the
// whole of what the keyboard acts on.
TEST(KeyTable, NoOtherKeyDoesAnything) {
  TestApp();
  TempFolder dir;
  Rig r(dir.str() + "/none.zkd", dir.str() + "/none.ini");
  r.Live();
  r.Run(0.5);
  std::set<std::pair<int, bool>> table;
  for (const KeyUse& k : KeyTable) table.insert({k.code, k.shift});
  const SessionState before = r.st();
  const Settings settings = r.ctx().settings;
  for (int code = 1; code < 256; ++code) {
    for (bool shift : {false, true}) {
      if (table.count({code, shift}) || table.count({code, !shift}) || code == vk::Shift) continue;
      int c = code;
      r.f->keyboard().Form_KeyDown(c, shift);
      r.f->keyboard().Form_KeyUp(code);
    }
  }
  EXPECT_EQ(r.st().OperatingMode, before.OperatingMode);
  EXPECT_EQ(r.st().NeedleSetRequest, before.NeedleSetRequest);
  EXPECT_EQ(r.st().BdCountEnabled, before.BdCountEnabled);
  EXPECT_EQ(r.st().TagCount, before.TagCount);
  EXPECT_EQ(r.ctx().settings.SensitivityIndex, settings.SensitivityIndex);
  EXPECT_TRUE(r.prompts.asked.empty());
}

}  // namespace
}  // namespace zk::test
