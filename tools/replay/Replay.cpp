#include "tools/replay/Replay.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "core/Banner.h"
#include "core/Context.h"
#include "core/ControlTable.h"
#include "core/SettingsFile.h"
#include "core/VirtualTime.h"
#include "link/Connection.h"
#include "link/ReadingStart.h"
#include "link/SampleStream.h"
#include "link/SyncTest.h"
#include "meter/Alerts.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"
#include "tools/replay/HeadlessRig.h"
#include "tools/replay/ReplayPort.h"

namespace zk::replay {

namespace {

constexpr double StartTime = 36000.0;  // 10:00:00 on the virtual clock

const char* Lamp_Name(const Settings& s, int32_t color) {
  // The same order the recorder uses to name the lamp: the first equal colour wins.
  if (color == s.Dial_Color) return "off";
  if (color == s.LED_Set_Color) return "set";
  if (color == s.LED_BM_Color) return "bm";
  if (color == s.LED_Lag_Color) return "lag";
  return "off";
}

std::string Csv_Field(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string q = "\"";
  for (char c : text) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

// Everything the window would own, wired together, on a clock at 10:00:00.
struct Rig : HeadlessRig {
  Rig() : HeadlessRig(StartTime, DateTime{2026, 1, 1, 0, 0, 0}) {}
};

// Across a long gap in the capture the window only counts missed clock ticks, two at a
// time. After the gap's first seconds (where the watchdog and any short timers act as
// usual) whole pairs of clock ticks are passed over at once, so a gap of days costs no
// more than one of seconds. Only done while the clock timer is the only one running.
void Skip_Idle(Rig& rig, double until) {
  constexpr double SettleSeconds = 10.0;  // seconds of each gap run tick by tick
  VirtualClock& clock = rig.clock;
  if (until - clock.now <= 2 * SettleSeconds) return;
  clock.AdvanceTo(clock.now + SettleSeconds);
  const WindowTimers<VirtualTimer>& t = rig.timers;
  for (const VirtualTimer* other : {&t.tmrMessage, &t.tmrLED, &t.tmrFall, &t.tmrRise, &t.tmrBdMouseDown, &t.tmrSkip})
    if (other->Enabled()) return;
  const double pair = 2 * rig.timers.tmrClock.IntervalMs() / 1000.0;
  const double skip = std::floor((until - clock.now - SettleSeconds) / pair) * pair;
  if (skip > 0) clock.PassIdle(skip);
}

}  // namespace

void Run_Replay(const ReplayOptions& options, const std::vector<CaptureLine>& capture, std::ostream& out) {
  CaptureList list(capture);
  Run_Replay(options, list, out);
}

void Run_Replay(const ReplayOptions& options, CaptureSource& capture, std::ostream& out) {
  Rig rig;
  Settings& set = rig.settings;
  SessionState& st = rig.state;
  if (!options.settingsFile.empty()) {
    set.SettingsFilePath = options.settingsFile;
    Load_Settings(rig.ctx);
  }
  rig.table.Init_SensTable();
  rig.alerts.Connect_Timers();
  rig.alerts.mnuSettingsLagThreshold_Click(std::clamp<int>(set.DataLag_Index, 1, 5));
  rig.alerts.mnuSettingsBodyMotionThreshold_Click(std::clamp<int>(set.BM_Threshold_Index, 1, 3));

  ReplayPort port(rig.clock, capture, StartTime);
  SyncTest sync(rig.ctx, port, rig.engine);
  SampleStream stream(rig.ctx, port, rig.engine, sync);
  Connection connection(rig.ctx, port);
  rig.timers.tmrClock.SetHandler([&] { connection.tmrClock_Timer(); });
  rig.timers.tmrMessage.SetHandler([&] { End_Message(rig.ctx); });
  rig.timers.tmrClock.Start();

  // The window after a successful connect, ready for live readings as its start-up
  // leaves it.
  set.CommPort = 1;
  set.SensitivityIndex = static_cast<int16_t>(options.sensitivity);
  st.SensorType = options.sensorType;
  st.HardwareFound = true;
  Enter_Live_Mode(st);
  Reset_Readouts(st);
  st.BdCountEnabled = options.bdCount;
  st.LedColor = set.Dial_Color;
  Start_Readings(rig.ctx, port);

  out << CsvHeader << "\n";
  auto events = [&] {
    while (port.Event_Due()) {
      const double at = rig.clock.Timer();
      port.Fire();
      const auto drawn = rig.view.TakeDrawn();
      out << std::llround((at - StartTime) * 1000.0) << ',' << st.RawReading << ',' << (st.NewReading ? 1 : 0) << ','
          << st.FilteredReading << ',' << (drawn ? std::to_string(*drawn) : std::string()) << ','
          << Csv_Field(st.BaseText) << ',' << Csv_Field(st.BdText) << ',' << Lamp_Name(set, st.LedColor) << ','
          << Csv_Field(st.StatusText) << ',' << st.TagCount << ',' << (st.BodyMotionActive ? 1 : 0) << ','
          << (st.NeedleFrozen ? 1 : 0) << "\n";
    }
  };
  while (port.More()) {
    Skip_Idle(rig, port.Next_Time());
    rig.clock.AdvanceTo(port.Next_Time());  // timers due by then fire first
    port.Deliver_Next();
    events();
  }
}

}  // namespace zk::replay
