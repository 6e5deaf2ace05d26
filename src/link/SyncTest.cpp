#include "link/SyncTest.h"

#include <cmath>
#include <string>

#include "base/Numbers.h"
#include "core/Banner.h"
#include "core/ControlNames.h"
#include "core/UnsavedRecording.h"
#include "meter/MeterEngine.h"

namespace zk {

namespace {
constexpr int PatternLength = 200;
constexpr int16_t Amplitude = 9000;
constexpr int32_t TestReading = 16440;  // the fixed reading shown while the test runs
constexpr int16_t ArmBelow = -2503;     // the SET mark
constexpr int16_t FireFrom = -2502;
constexpr int16_t LampOffAbove = -1500;
const char* const StartCaption = "Sync Test - Start";
const char* const StopCaption = "Sync Test - Stop";
}  // namespace

std::array<int16_t, 201> Build_Sync_Pattern() {
  std::array<int16_t, 201> p{};
  // The angle is accumulated in single precision, step by step.
  float a = 0.0f;
  const float step = 6.28318f / PatternLength;
  for (int i = 1; i <= PatternLength; ++i) {
    a += step;
    p[i] = CInt16(std::sin(static_cast<double>(a)) * Amplitude);
  }
  return p;
}

SyncTest::SyncTest(Context& ctx, SerialPort& port, MeterEngine& engine)
    : ctx_(ctx), port_(port), gate_(ctx, port), engine_(engine), reader_(ctx, port) {}

void SyncTest::mnuConnectSyncTest_Click() {
  SessionState& st = ctx_.state;
  if (ctx_.controls.Caption(ctl::mnuConnectSyncTest) != StopCaption) {
    ctx_.controls.SetCaption(ctl::mnuConnectSyncTest, StopCaption);
    st.SyncTestActive = true;
    Start_SyncTest();
  } else {
    ctx_.controls.SetCaption(ctl::mnuConnectSyncTest, StartCaption);
    st.SyncTestActive = false;
    st.NeedleSetRequest = true;  // re-centre the needle on the next reading
    ctx_.timers.tmrLED.Start();  // and let the lamp go dark
  }
}

void SyncTest::Start_SyncTest() {
  SessionState& st = ctx_.state;
  if (!Unsaved_Recording_Guard(ctx_)) {
    mnuConnectSyncTest_Click();  // ends the test at once
    return;
  }
  gate_.Pause();
  Set_Banner(ctx_, "Test Mode");
  st.SyncPattern = Build_Sync_Pattern();
  st.RawReading = TestReading;
  st.FilteredReading = TestReading;
  gate_.Release();
  gate_.Discard();
}

void SyncTest::Com_Sync() {
  ctx_.state.InputWatchdogArmed = false;
  reader_.Begin();
  Take_Burst();
  reader_.End();
}

void SyncTest::Take_Burst() {
  SessionState& st = ctx_.state;
  st.NewReading = false;
  std::string msg;
  for (;;) {
    const MessageReader::Result r = reader_.Next(msg);
    if (r == MessageReader::Result::TimedOut) {
      Show_Status(ctx_, "Input Error");
      return;
    }
    if (r == MessageReader::Result::Empty) return;
    Advance();
    if (port_.InBufferCount() <= 0) return;
  }
}

void SyncTest::Advance() {
  SessionState& st = ctx_.state;
  const Settings& set = ctx_.settings;
  if (++st.SyncIndex > PatternLength || st.SyncIndex < 1) st.SyncIndex = 1;
  st.SyncValue = st.SyncPattern[st.SyncIndex];
  if (st.SyncValue < ArmBelow) st.SyncArmed = true;
  if (st.SyncValue >= FireFrom && st.SyncArmed) {
    st.SyncArmed = false;
    if (st.LedColor != set.LED_Lag_Color) ctx_.view.Update_LED(set.LED_Lag_Color);
    ctx_.shell.Beep();
  }
  if (st.SyncValue > LampOffAbove && st.LedColor != set.Dial_Color) ctx_.view.Update_LED(set.Dial_Color);

  st.NewReading = true;
  st.RawReading = TestReading;
  st.FilteredReading = TestReading;
  st.NeedleSetRequest = true;
  engine_.Calc_Base();
  st.NeedleSetRequest = false;

  // The banner says the test runs ("Input OK" would hide it from the first message on);
  // a recording still says so, and the stream's recovery from an error shows the test again.
  const bool recording = st.OperatingMode == ModeRecording;
  Show_Status(ctx_, recording ? "Recording" : "Test Mode");
  if (recording) {
    ++st.RecSampleCount;
    st.RecSampleKind = 80;  // "P"
  }
}

void SyncTest::Register_Commands(CommandTable& commands) {
  commands.Add(ctl::mnuConnectSyncTest, [this] { mnuConnectSyncTest_Click(); });
}

}  // namespace zk
