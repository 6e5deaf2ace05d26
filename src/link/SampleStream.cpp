#include "link/SampleStream.h"

#include <exception>

#include "base/Numbers.h"
#include "core/Banner.h"
#include "core/MenuTicks.h"
#include "link/Delays.h"
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
        st.FilteredReading = st.RawReading;
        engine_.Update_Needle();
        if (ctx_.settings.GraphVisible) ctx_.view.Update_Graph(st.RawReading);
      }
    } else {
      Com_Input();
      if (st.NewReading) engine_.Show_Reading();
    }
  } catch (const std::exception&) {
    // A failed drawing step loses this burst only; the stream must not stay paused.
  }
  gate_.Release();
}

void SampleStream::Show_Input_Error() { Show_Status(ctx_, InputError); }

void SampleStream::Show_Input_Ok() {
  Show_Status(ctx_, ctx_.state.OperatingMode == ModeRecording ? "Recording" : "Input OK");
}

void SampleStream::Com_Input() {
  SessionState& st = ctx_.state;
  st.InputWatchdogArmed = false;
  reader_.Begin();
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
  SessionState& st = ctx_.state;
  Settings& set = ctx_.settings;
  Controls& ui = ctx_.controls;

  if (st.SensorType == "3A" || st.SensorType == "40") {
    if (kind != 'P' && kind != 'O' && kind != 'T') return Step::Error;
    if (kind == 'T') {  // the external switch was closed
      if (set.SwitchMode_Index == 1) {
        st.NeedleSetRequest = true;
      } else if (set.SwitchMode_Index == 2) {
        ++st.TagCount;
        st.TagChanged = true;
        Show_TagCount(ctx_);
      }
      kind = 'P';
    }
    const auto v = Decode_Reading(payload);
    if (!v) return Step::Error;
    st.RawReading = *v;
    st.NewReading = true;
    Show_Input_Ok();
    return Step::Next;
  }

  if (st.SensorType != "31") return Step::Next;  // unknown sensor: ignored
  switch (kind) {
    case 'L': {  // local probe
      const auto v = Decode_Reading(payload);
      if (!v) return Step::Error;
      st.RawReading = Scale_Local_Reading(*v);
      if (!ui.Checked("mnuSensorLocal")) {
        Tick_Pair(ui, "mnuSensorLocal", "mnuSensorRemote", true);
        set.zk3SensorMode = false;
      }
      st.NewReading = true;
      kind = 'P';
      return Step::Next;
    }
    case 'R': {  // remote probe; readings count again once as many "R" as "X" were seen
      const auto v = Decode_Reading(payload);
      if (!v) return Step::Error;
      st.RawReading = *v;
      if (!ui.Checked("mnuSensorRemote")) {
        Tick_Pair(ui, "mnuSensorLocal", "mnuSensorRemote", false);
        set.zk3SensorMode = true;
      }
      kind = 'P';
      if (st.RemoteErrorCount < 1)
        st.NewReading = true;
      else
        --st.RemoteErrorCount;
      return Step::Next;
    }
    case 'X':  // remote probe fault
      kind = 'P';
      if (++st.RemoteErrorCount > 5) {
        st.RemoteErrorCount = 5;
        if (st.StatusText != InputError) {
          st.StatusText = InputError;
          st.StatusColor = 255;
          ctx_.view.Update_ModeDisplay();
        }
      }
      return Step::Next;
    default: return Step::Next;
  }
}

}  // namespace zk
