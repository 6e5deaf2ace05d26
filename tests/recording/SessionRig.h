#pragma once
// A live session on virtual time for the recorder: a type "3A" sensor on a fake port
// (messages scheduled 20 ms apart), the real receive path, meter engine and watchdog, the
// clock-driven sound device (or the scripted FakeAudio), the recorder, its saver and the
// stop button.
// Processing events lets 5 ms pass and runs the receive event when it is due, as the
// window's event loop would.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeSerialPort.h"
#include "Fakes.h"
#include "TestFiles.h"
#include "TransportLog.h"
#include "base/RecordingCodes.h"
#include "link/Connection.h"
#include "link/PortGate.h"
#include "link/SampleStream.h"
#include "link/SyncTest.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"
#include "recording/Recorder.h"
#include "recording/RecordingMemory.h"
#include "recording/RecordingSaver.h"
#include "recording/Transport.h"
#include "sound/AudioFactory.h"
#include "sound/ClockSound.h"
#include "sound/TrackDevice.h"

namespace zk::test {

struct CountingSetupDialog : RecordingSetupDialog {
  int shown = 0;
  void Show_Recording_Setup() override { ++shown; }
};

class StopShell : public FakeShell {
 public:
  Transport* transport = nullptr;
  void cmdStop_Click() override {
    FakeShell::cmdStop_Click();
    if (transport) transport->cmdStop_Click();
  }
};

class PumpEvents : public Events {
 public:
  PumpEvents(Timeline& clock, FakeSerialPort& port) : clock_(clock), port_(port) {}
  std::function<void()> onComm;
  std::function<void()> also;  // anything else the window does meanwhile (a key press)
  void DoEvents() override {
    clock_.Advance(0.005);
    if (onComm && port_.Event_Due()) onComm();
    if (also) also();
  }

 private:
  Timeline& clock_;
  FakeSerialPort& port_;
};

// `fakeAudio`: the scripted FakeAudio instead of the clock-driven sound device.
// `soundBlock`: the clock-driven device's input hands its sound over in blocks of that many
// frames, as a sound server does (0: every frame as it is due); `soundLead` more frames come
// at once with the first block, as from a server that had sound waiting.
struct SessionRig : VirtualWindowTimers {
  explicit SessionRig(bool fakeAudio = false, int64_t soundBlock = 0, int64_t soundLead = 0)
      : device(fakeAudio ? nullptr : Clock_Device(clock, soundBlock, soundLead)) {
    table.Init_SensTable();
    settings.CommPort = 3;
    settings.SavePath = "/nonexistent-folder/";
    settings.SavePrefix = "Run_";
    settings.SuffixType = 0;
    settings.RecordingMode = RecAutoName;
    state.OperatingMode = ModeLive;
    state.SensorType = "3A";
    state.LedColor = settings.Dial_Color;
    state.DummyAudioPath = std::string(ZK_PROGRAM_FOLDER) + "/dummy.mp3";
    port.SetCommPort(3);
    port.SetPortOpen(true);
    port.SetRThreshold(5);
    shell.transport = &transport;
    events.onComm = [this] { stream.Comm1_OnComm(); };
    engine.SetRecordSink(&recorder);
    transport.SetRecorder(&recorder);
    tmrClock.SetHandler([this] {
      conn.tmrClock_Timer();
      memory.Spool().Warn_Unprotected();
    });
    tmrClock.Start();
  }

  static std::unique_ptr<AudioDevice> Clock_Device(Clock& clock, int64_t block, int64_t lead) {
    if (block == 0 && lead == 0) return MakeNullAudioDevice(clock);
    return std::make_unique<TrackDevice>(clock, std::make_unique<ClockInput>(clock, block, lead),
                                         std::make_unique<ClockOutput>(clock), AudioNotice{});
  }

  // The sensor sends `reading(i)` as message i, 50 a second, for `seconds` from now.
  void Sensor(double seconds, const std::function<int32_t(int)>& reading) {
    const int n = static_cast<int>(seconds * 50 + 0.5);
    for (int i = 0; i < n; ++i) {
      char msg[16];
      std::snprintf(msg, sizeof msg, "P%04X\r", static_cast<unsigned>(reading(i)) & 0xFFFFu);
      port.Arrive(msg, i * 0.02 + 0.001);
    }
  }
  void Sensor(double seconds, int32_t reading = 30000) {
    Sensor(seconds, [reading](int) { return reading; });
  }
  // Lets `seconds` of virtual time pass with the window processing events.
  void Run(double seconds) {
    const double end = clock.now + seconds;
    while (clock.now < end) events.DoEvents();
  }
  // Presses the stop button, as the S key does.
  void Stop() { transport.cmdStop_Click(); }
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const auto& m : prompts.shown) texts.push_back(m.text);
    return texts;
  }

  Settings settings;
  SessionState state;
  FakeSerialPort port{clock};
  PumpEvents events{clock, port};
  ScriptedPrompts prompts;
  RecordingView view{state};
  FakeControls controls;
  StopShell shell;
  FakeAudio fake;
  std::unique_ptr<AudioDevice> device;
  Context ctx{settings, state, clock,    events, prompts,
              All(),    view,  controls, shell,  device ? static_cast<AudioDevice&>(*device) : fake,
              "/tmp"};
  SensitivityTable table;
  MeterEngine engine{ctx, table};
  SyncTest sync{ctx, port, engine};
  SampleStream stream{ctx, port, engine, sync};
  Connection conn{ctx, port};
  PortGate gate{ctx, port};
  TransportLog bar;
  RecordingMemory memory{ctx};
  CountingSetupDialog setup;
  RecordingSaver saver{ctx, memory, setup};
  Recorder recorder{ctx, bar, gate, memory, saver};
  Transport transport{ctx, bar};
};

// A live session saving into a fresh folder.
struct LiveRecording : ::testing::Test {
  SessionRig rig;
  SessionState& st = rig.state;
  Settings& s = rig.settings;
  TempFolder dir;
  LiveRecording() { s.SavePath = dir.str() + "/"; }
  // Records `seconds` after the pre-roll, then presses stop.
  void Record(double seconds) {
    rig.recorder.cmdRecord_Click();
    rig.Run(seconds);
    rig.Stop();
  }
};

}  // namespace zk::test
