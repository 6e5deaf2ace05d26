#include "SampleRecording.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/Clock.h"
#include "base/Numbers.h"
#include "core/ControlTable.h"
#include "core/StreamGate.h"
#include "core/TransportView.h"
#include "core/VirtualTime.h"
#include "link/ReadingStart.h"
#include "meter/Alerts.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"
#include "recording/Recorder.h"
#include "recording/RecordingMemory.h"
#include "recording/RecordingSaver.h"
#include "tools/replay/HeadlessRig.h"

namespace zk::sample {

namespace {

using replay::HeadlessRig;

constexpr double ReadingSeconds = Recorder::ReadingMs / 1000.0;

// The recorder's window-side parts, which a recording made here never shows.
struct NoTransport : TransportView {
  void Show_TransportWord(const std::string&) override {}
  int32_t SeekBar_ScaleWidth() const override { return 1; }
  void SeekBar_Clear() override {}
  void SeekBar_Box(double, double, double, double, int32_t) override {}
  void SeekBar_SetCurrentX(double) override {}
  int32_t ButtonFaceColor() const override { return 0; }
  int32_t HighlightColor() const override { return 0; }
};
struct NoGate : StreamGate {
  void Hold() override {}
  void Discard() override {}
  void Release() override {}
  void RestartMeter() override {}
};
struct NoSetup : RecordingSetupDialog {
  void Show_Recording_Setup() override {}
};

// Everything the window would own while recording, wired together.
struct Rig : HeadlessRig {
  explicit Rig(const SessionStart& start)
      : HeadlessRig(double(start.seconds), DateTime{start.year, start.month, start.day, 0, 0, 0}) {}
  NoTransport transport;
  NoGate gate;
  NoSetup setup;
  RecordingMemory memory{ctx};
  RecordingSaver saver{ctx, memory, setup};
  Recorder recorder{ctx, transport, gate, memory, saver};
};

// The reading the script describes, moment by moment.
class ReadingShape {
 public:
  void Apply(const ScriptEvent& e) {
    switch (e.action) {
      case Action::Level: from_ = to_ = e.a; break;
      case Action::Glide:
        from_ = Base(e.at);
        to_ = e.a;
        glideStart_ = e.at;
        glideSeconds_ = e.b;
        break;
      case Action::Jolt: jolt_ = e.a; break;
      case Action::Wobble:
        wobble_ = e.a;
        period_ = e.b;
        break;
      default: break;
    }
  }

  int32_t At(double t) {
    double v = Base(t);
    if (wobble_ > 0 && period_ > 0) v += wobble_ * std::sin(2 * std::numbers::pi * t / period_);
    v += jolt_;
    jolt_ = 0;  // a jolt is one reading
    return static_cast<int32_t>(std::clamp(std::lround(v), 0L, 65535L));
  }

 private:
  // A glide eases in and out (half a cosine), so that it bends the readings gently enough
  // not to count as body motion.
  double Base(double t) const {
    if (glideSeconds_ <= 0 || t >= glideStart_ + glideSeconds_) return to_;
    const double x = std::max(0.0, (t - glideStart_) / glideSeconds_);
    return from_ + (to_ - from_) * (1 - std::cos(std::numbers::pi * x)) / 2;
  }
  double from_ = 30000, to_ = 30000, glideStart_ = 0, glideSeconds_ = 0;
  double wobble_ = 0, period_ = 0, jolt_ = 0;
};

int64_t ReadingCount(const SessionScript& script) { return std::llround(script.Seconds() / ReadingSeconds); }

}  // namespace

std::vector<int32_t> ScriptReadings(const SessionScript& script) {
  ReadingShape shape;
  std::vector<int32_t> readings;
  std::size_t next = 0;
  for (int64_t n = 0; n < ReadingCount(script); ++n) {
    const double t = n * ReadingSeconds;
    while (next < script.events.size() && script.events[next].at <= t + 1e-9) shape.Apply(script.events[next++]);
    readings.push_back(shape.At(t));
  }
  return readings;
}

SampleRecording RecordScript(const SessionScript& script, const SessionStart& start) {
  SampleRecording out;
  Rig rig(start);
  Settings& set = rig.settings;
  SessionState& st = rig.state;
  rig.table.Init_SensTable();
  rig.engine.SetRecordSink(&rig.recorder);
  rig.alerts.Connect_Timers();
  rig.alerts.mnuSettingsBodyMotionThreshold_Click(std::clamp<int>(set.BM_Threshold_Index, 1, 3));

  // Live readings from a connected sensor, then the recorder's start as the record button
  // leaves it once the pre-roll is over.
  st.SensorType = "3A";
  st.HardwareFound = true;
  Enter_Live_Mode(st);
  Reset_Readouts(st);
  st.LedColor = set.Dial_Color;
  st.NeedleSetRequest = true;
  rig.memory.Empty_Buffer();
  Recorder::Use_Sound_Format(st);
  st.RecordIndex = 1;
  st.RecSampleCount = 0;
  st.LastSecondSamples = 0;
  st.ElapsedSecs = 0;
  st.RecordStartSeconds = start.seconds;
  st.RecordDate = DateSerial(start.year, start.month, start.day);
  st.RecordStartDay = st.RecordDate - DateSerial(1999, 12, 31);
  st.OperatingMode = ModeRecording;
  st.ResetPending = true;

  const std::vector<int32_t> readings = ScriptReadings(script);
  std::size_t next = 0;
  double t = 0;
  try {
    for (std::size_t n = 0; n < readings.size(); ++n) {
      t = static_cast<double>(n) * ReadingSeconds;
      rig.clock.AdvanceTo(start.seconds + t);
      for (; next < script.events.size() && script.events[next].at <= t + 1e-9; ++next) {
        const ScriptEvent& e = script.events[next];
        if (e.action == Action::Tag) {
          ++st.TagCount;
          st.TagChanged = true;
        } else if (e.action == Action::Sensitivity) {
          set.SensitivityIndex = static_cast<int16_t>(e.a);
        } else if (e.action == Action::Freeze) {
          set.FreezeEnable = e.a != 0;
        }
      }
      // The receive path's counts: the sound's whole seconds, the messages so far, and the
      // sound's position as the message is read (after the pre-roll second).
      st.ElapsedSecs = static_cast<int32_t>(n / RecordsPerSecond);
      st.RecSampleCount = static_cast<int32_t>(n) + 1;
      st.AudioPosition = SoundBytesPerSecond + static_cast<int32_t>(n) * (SoundBytesPerSecond / RecordsPerSecond);
      st.RecSampleKind = 'P';
      st.RawReading = readings[n];
      st.NewReading = true;
      rig.engine.Show_Reading();
    }
  } catch (const OverflowError&) {
    out.error = "at " + std::to_string(std::lround(t)) + " s the needle left the dial's range; lower the sensitivity";
    return out;
  }
  out.records = std::move(st.RecordBuffer);
  out.recordCount = st.RecordCount;
  out.header = RecordHeader{set.ClockType, set.DateType, st.RecordStartSeconds, st.RecordStartDay};
  return out;
}

}  // namespace zk::sample
