#include "link/SampleStream.h"

#include <exception>

#include "base/Numbers.h"
#include "core/Banner.h"
#include "core/ControlNames.h"
#include "core/MenuTicks.h"
#include "core/UnexpectedError.h"
#include "link/SyncTest.h"
#include "meter/Counters.h"
#include "meter/MeterEngine.h"

namespace zk {

namespace {
const char* const InputError = "Input Error";
}  // namespace

std::optional<int32_t> Decode_Reading(const std::string& payload) {
  if (payload.empty()) return std::nullopt;
  int32_t v = 0;
  for (size_t i = 0; i < payload.size() && i < 4; ++i) {
    const int d = HexDigitValue(payload[i]);
    if (d < 0) return std::nullopt;
    v = v * 16 + d;
  }
  return v;
}

int32_t Scale_Local_Reading(int32_t raw) {
  const int32_t v = CInt32(raw * 1.068);
  return v > 65535 ? 65535 : v;
}

SampleStream::SampleStream(Context& ctx, SerialPort& port, MeterEngine& engine, SyncTest& sync)
    : ctx_(ctx),
      port_(port),
      gate_(ctx, port),
      engine_(engine),
      sync_(sync),
      reader_(ctx, port),
      lagLamp_(ctx, ctx.state.LagTime) {
  port_.SetOnComm([this] { Comm1_OnComm(); });
}

void SampleStream::Comm1_OnComm() {
  SessionState& st = ctx_.state;
  gate_.Hold();  // no further receive events while this one runs
  try {
    if (st.SyncTestActive) {
      sync_.Com_Sync();
      if (st.NewReading) {
        const HeldRepaints held(ctx_.view);
        st.FilteredReading = st.RawReading;
        engine_.Update_Needle();
        if (ctx_.settings.GraphVisible) ctx_.view.Update_Graph(st.RawReading);
      }
    } else {
      Com_Input();
      if (st.NewReading) engine_.Show_Reading();
    }
  } catch (const std::exception& e) {
    // A failed drawing step loses this burst only; the stream must not stay paused.
    Report_Unexpected("showing a reading", e);
  }
  gate_.Release();
}

void SampleStream::Show_Input_Error() { Show_Status(ctx_, InputError); }

void SampleStream::Show_Input_Ok() {
  Show_Status(ctx_, ctx_.state.OperatingMode == ModeRecording ? "Recording" : "Input OK");
}

void SampleStream::Com_Input() {
  ctx_.state.InputWatchdogArmed = false;
  reader_.Begin();
  Take_Burst();
  // The sound position of the moment the burst's last message was read times its record.
  reader_.End();
}

void SampleStream::Take_Burst() {
  SessionState& st = ctx_.state;
  st.NewReading = false;
  int messages = 0;
  std::string msg;
  for (;;) {
    const MessageReader::Result r = reader_.Next(msg);
    if (r == MessageReader::Result::TimedOut) {
      Show_Input_Error();
      return;  // what still waits is left for the next receive event
    }
    if (r == MessageReader::Result::Empty) break;

    char kind = msg[0];
    if (Dispatch(kind, msg.substr(1)) == Step::Error) {
      Show_Input_Error();
      return;
    }
    if (st.OperatingMode == ModeRecording) {
      ++st.RecSampleCount;
      st.RecSampleKind = static_cast<unsigned char>(kind);
    }
    // More messages than LagMessages in one burst: the program fell behind the sensor.
    if (++messages > st.LagMessages) lagLamp_.Light();
    if (st.NewReading) Show_Input_Ok();
    if (port_.InBufferCount() <= 0) break;
  }
  // The sync test keeps the lamp for its own flashes.
  if (!st.SyncTestActive) lagLamp_.Put_Out();
}

SampleStream::Step SampleStream::Dispatch(char& kind, const std::string& payload) {
  const std::string& type = ctx_.state.SensorType;
  if (type == "3A" || type == "40") return Take_Reading(kind, payload);
  if (type == "31") return Take_Probe_Message(kind, payload);
  return Step::Next;  // unknown sensor: ignored
}

// Types "3A" and "40": readings ("P", "O") and the external switch ("T", with a reading).
SampleStream::Step SampleStream::Take_Reading(char& kind, const std::string& payload) {
  SessionState& st = ctx_.state;
  if (kind != 'P' && kind != 'O' && kind != 'T') return Step::Error;
  if (kind == 'T') {
    Switch_Closed();
    kind = 'P';
  }
  const auto v = Decode_Reading(payload);
  if (!v) return Step::Error;
  st.RawReading = *v;
  st.NewReading = true;
  Show_Input_Ok();
  return Step::Next;
}

void SampleStream::Switch_Closed() {
  SessionState& st = ctx_.state;
  const int mode = ctx_.settings.SwitchMode_Index;
  if (mode == 1) {
    st.NeedleSetRequest = true;
  } else if (mode == 2) {
    ++st.TagCount;
    st.TagChanged = true;
    Show_TagCount(ctx_);
  }
}

// Type "31": a reading of the local ("L") or the remote ("R") probe, or a fault of the
// remote probe ("X"). Remote readings count again once as many "R" as "X" were seen.
SampleStream::Step SampleStream::Take_Probe_Message(char& kind, const std::string& payload) {
  SessionState& st = ctx_.state;
  switch (kind) {
    case 'L':
    case 'R': {
      const auto v = Decode_Reading(payload);
      if (!v) return Step::Error;
      const bool remote = kind == 'R';
      kind = 'P';
      st.RawReading = remote ? *v : Scale_Local_Reading(*v);
      Show_Probe(remote);
      if (!remote || st.RemoteErrorCount < 1)
        st.NewReading = true;
      else
        --st.RemoteErrorCount;
      return Step::Next;
    }
    case 'X':
      kind = 'P';
      if (++st.RemoteErrorCount > 5) {
        st.RemoteErrorCount = 5;
        if (st.StatusText != InputError) Set_Banner(ctx_, InputError, 255);
      }
      return Step::Next;
    default: return Step::Next;
  }
}

// The probe the sensor reads from is ticked in the menu and kept as the sensor mode.
void SampleStream::Show_Probe(bool remote) {
  Controls& ui = ctx_.controls;
  if (ui.Checked(remote ? ctl::mnuSensorRemote : ctl::mnuSensorLocal)) return;
  Tick_Pair(ui, ctl::mnuSensorLocal, ctl::mnuSensorRemote, !remote);
  ctx_.settings.zk3SensorMode = remote;
}

}  // namespace zk
