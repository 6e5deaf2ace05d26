#include "link/ReadingStart.h"

namespace zk {

void Enter_Live_Mode(SessionState& st) {
  st.OperatingMode = ModeLive;
  st.InputWatchdogArmed = true;
}

void Reset_Readouts(SessionState& st) {
  st.BodyMotionHold = 0.5;
  st.BaseText = "2.0";
  st.BdText = "0.0";
  st.BdCountEnabled = false;
}

void Start_Readings(Context& ctx, SerialPort& port) {
  port.SetInBufferCount(0);
  if (ctx.settings.CommPort != 0) port.SetRThreshold(5);
  ctx.state.ResetPending = true;
  ctx.state.NeedleSetRequest = true;
}

}  // namespace zk
