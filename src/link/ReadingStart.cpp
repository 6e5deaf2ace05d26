#include "link/ReadingStart.h"

#include "link/PortGate.h"

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
  PortGate(ctx, port).Resume();
  ctx.state.NeedleSetRequest = true;
}

}  // namespace zk
