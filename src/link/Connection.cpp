#include "link/Connection.h"

#include "core/UnsavedRecording.h"

#include "core/Banner.h"
#include "core/ControlNames.h"
#include "core/Wait.h"
#include "link/Delays.h"
#include "link/MessageReader.h"
#include "link/PortTable.h"
#include "link/ReadingStart.h"

namespace zk {

namespace {
const char* const LineSettings = "9600,n,8,1";
constexpr double DiscardSeconds = 0.1;    // after the two "Q"
constexpr double ReplyWaitSeconds = 0.5;  // after "V"
}  // namespace

bool Parse_Version_Reply(const std::string& reply, VersionReply& out) {
  if (reply.compare(0, 4, "V,ZK") != 0) return false;
  const std::string rest = reply.substr(2);  // "ZK3A1234,1.0,2.1"
  VersionReply v;
  v.SensorType = rest.substr(2, 2);
  const auto c1 = rest.find(',');
  v.SerialNumber = rest.substr(0, c1);
  if (c1 != std::string::npos) {
    const auto c2 = rest.find(',', c1 + 1);
    v.BootLoaderVersion = rest.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
    if (c2 != std::string::npos) v.FirmwareVersion = rest.substr(c2 + 1);
  }
  out = v;
  return true;
}

Connection::Connection(Context& ctx, SerialPort& port) : ctx_(ctx), port_(port), gate_(ctx, port), reader_(ctx, port) {}

void Connection::Send(const std::string& command) { port_.Output(command + "\r"); }

void Connection::Init_Ports() {
  SessionState& st = ctx_.state;
  Com_Close();
  st.PortPresent[0] = 0;
  for (int p = 1; p <= PortTable::MaxPort; ++p) {
    st.PortPresent[p] = -1;
    // A port the user may not open is present but unusable: checking it says why.
    if (!port_.SetCommPort(p) || (!port_.SetPortOpen(true) && port_.DeniedDevice().empty()) ||
        !port_.SetPortOpen(false))
      st.PortPresent[p] = 0;
  }
  Controls& ui = ctx_.controls;
  ui.SetCaption(ctl::mnuConnectionPortComm, 0, "None");
  ui.SetVisible(ctl::mnuConnectionPortComm, 0, true);
  for (int p = 1; p <= PortTable::MaxPort; ++p) {
    if (st.PortPresent[p] != 0) {
      ui.SetCaption(ctl::mnuConnectionPortComm, p, "Comm" + std::to_string(p) + ":");
      ui.SetVisible(ctl::mnuConnectionPortComm, p, true);
      ui.SetChecked(ctl::mnuConnectionPortComm, p, false);
      ui.SetVisible(ctl::mnuConnectionPortComm, 0, false);
    } else {
      ui.SetVisible(ctl::mnuConnectionPortComm, p, false);
    }
  }
}

void Connection::Com_Open() {
  const int n = ctx_.settings.CommPort;
  if (port_.PortOpen() || n == 0) return;
  bool ok = port_.SetCommPort(n) && port_.SetSettings(LineSettings);
  if (ok) {
    port_.SetInBufferSize(25);
    port_.SetHandshaking(0);
    port_.SetInputLen(1);
    ok = port_.SetPortOpen(true);
  }
  if (!ok) {
    std::string text = "Error Opening Comm" + std::to_string(n) + ":" + LineSettings;
    const std::string denied = port_.DeniedDevice();
    if (!denied.empty())
      text +=
          "\nYour user needs access to " + denied + " (on Debian: membership of the dialout group, then log in again).";
    ctx_.prompts.MsgBox(text, "Open Comms Port", MsgButtons::OK, MsgIcon::Critical);
    return;
  }
  port_.SetDTREnable(true);
  port_.SetRTSEnable(true);
}

void Connection::Com_Close() {
  if (port_.PortOpen()) port_.SetPortOpen(false);
}

void Connection::Discard_Input_For(double seconds) {
  const double start = ctx_.clock.Timer();
  for (;;) {
    while (port_.InBufferCount() > 0) port_.Input();
    const double left = seconds - Timer_Elapsed(start, ctx_.clock.Timer());
    if (left <= 0) return;
    port_.WaitForInput(static_cast<int>(left * 1000.0) + 1);
  }
}

bool Connection::Check_Version() {
  const int n = ctx_.settings.CommPort;
  ctx_.shell.Splash_Info("Checking Port " + std::to_string(n) + " for Hardware");
  Com_Close();
  Com_Open();
  if (!port_.PortOpen()) return false;  // Com_Open has said why; no sensor can answer
  TDelay(ctx_, 10);
  Send("Q");
  TDelay(ctx_, 2);
  Send("Q");
  Discard_Input_For(DiscardSeconds);
  if (Com_Input_Vers()) {
    ctx_.controls.SetChecked(ctl::mnuConnectionPortComm, n, true);
    Start_Sensor();
    return true;
  }
  Com_Close();
  return false;
}

bool Connection::Com_Input_Vers() {
  gate_.Hold();
  Send("V");
  // Let the window run while the sensor prepares its reply, then take the reply up to its
  // carriage return, or what came within 0.2 s more. The reply is read as it arrives, so a
  // sensor that answers quickly is not kept waiting for the full half second.
  std::string reply;
  Wait_Until(ctx_.events, ctx_.clock, ReplyWaitSeconds + MessageReader::Deadline,
             [&] { return reader_.Take_Waiting(reply); });
  VersionReply v;
  if (!Parse_Version_Reply(reply, v)) return false;
  SessionState& st = ctx_.state;
  st.SensorType = v.SensorType;
  st.SensorSerialNumber = v.SerialNumber;
  st.BootLoaderVersion = v.BootLoaderVersion;
  st.FirmwareVersion = v.FirmwareVersion;
  return true;
}

void Connection::Start_Sensor() {
  ctx_.controls.SetEnabled(ctl::mnuConnectSyncTest, true);
  const std::string& type = ctx_.state.SensorType;
  if (type == "3A") {
    TDelay(ctx_, 10);
    Send("U");
    Send("R");
  } else if (type == "40") {
    Send("U");
    Send("R");
    Send("O");
  } else if (type == "31") {
    TDelay(ctx_, 10);
    Send(ctx_.settings.zk3SensorMode ? "SR" : "SL");
    TDelay(ctx_, 10);
    Send("U");
    TDelay(ctx_, 10);
    Send("R");
    ctx_.controls.SetVisible(ctl::mnuConnectSensor, true);
  }
}

void Connection::mnuConnectionConnect_Click() {
  // Connecting enters live mode afresh, which would end a recording without its stop.
  if (!Recording_Not_Running(ctx_)) return;
  SessionState& st = ctx_.state;
  Settings& set = ctx_.settings;
  gate_.Hold();
  ctx_.shell.Splash_Show();
  st.HardwareFound = false;
  while (!st.HardwareFound) {
    for (int p = 1; p <= PortTable::MaxPort; ++p) {
      if (st.PortPresent[p] == 0) continue;
      set.CommPort = static_cast<int16_t>(p);
      if (Check_Version()) {
        st.HardwareFound = true;
        break;
      }
    }
    if (st.HardwareFound) break;
    ctx_.shell.Splash_Info("No Hardware Detected");
    const MsgResult r = ctx_.prompts.MsgBox("Check connection and Retry, or Cancel to run in demo mode.",
                                            "zk Zodovaz " + st.VersionText, MsgButtons::RetryCancel, MsgIcon::Critical);
    if (r == MsgResult::Retry) {
      Init_Ports();
      continue;
    }
    st.HardwareFound = true;
    set.CommPort = 0;
    st.StatusColor = set.Text_Color;
    Show_Status(ctx_, "Demo Mode");
  }
  ctx_.shell.Splash_Unload();
  if (set.CommPort != 0) {
    Enter_Live_Mode(st);
    gate_.Release();
    ctx_.shell.Update_RecordModeLabel();
  }
  ctx_.shell.Update_Command_State();
}

void Connection::tmrClock_Timer() {
  SessionState& st = ctx_.state;
  if (st.OperatingMode == ModePlayback) return;

  const DateTime now = ctx_.clock.Now();
  if (now.minute != lastMinute_) {
    lastMinute_ = now.minute;
    int16_t h = static_cast<int16_t>(now.hour), m = static_cast<int16_t>(now.minute),
            s = static_cast<int16_t>(now.second);
    ctx_.view.Update_Clock(h, m, s, DateSerial(now.year, now.month, now.day));
  }

  if (port_.RThreshold() == 0) return;  // no stream expected
  if (st.InputWatchdogArmed)
    ++st.MissedTicks;
  else
    st.MissedTicks = 0;
  if (st.MissedTicks >= 2) {
    st.MissedTicks = 0;
    if (st.OperatingMode == ModeRecording) ctx_.shell.cmdStop_Click();
    if (st.StatusText == "Input OK" || st.StatusText == "Recording") Show_Status(ctx_, "Input Error");
  }
  st.InputWatchdogArmed = true;
}

void Connection::Register_Commands(CommandTable& commands) {
  commands.Add(ctl::mnuConnectionConnect, [this] { mnuConnectionConnect_Click(); });
  commands.Add(ctl::mnuSensorLocal, [this] { mnuSensorLocal_Click(); });
  commands.Add(ctl::mnuSensorRemote, [this] { mnuSensorRemote_Click(); });
}

void Connection::mnuSensorLocal_Click() {
  Send("SL");
  ctx_.controls.SetChecked(ctl::mnuSensorLocal, false);
  ctx_.controls.SetChecked(ctl::mnuSensorRemote, false);
}

void Connection::mnuSensorRemote_Click() {
  Send("SR");
  ctx_.controls.SetChecked(ctl::mnuSensorLocal, false);
  ctx_.controls.SetChecked(ctl::mnuSensorRemote, false);
}

}  // namespace zk
