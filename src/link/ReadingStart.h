#pragma once
// The steps a start takes towards readings, shared by the window's start-up and the
// replay tool so that both begin from the same state.
#include "core/Context.h"
#include "link/SerialPort.h"

namespace zk {

// A sensor port is in use: live mode with the input watchdog armed.
void Enter_Live_Mode(SessionState& st);

// The readouts before the first reading: base "2.0", BD "0.0", BD counting off, body
// motion held for half a second.
void Reset_Readouts(SessionState& st);

// Readings start afresh: waiting input is dropped, the receive event is armed while a
// port is in use, and the first reading restarts the engine and sets the needle.
void Start_Readings(Context& ctx, SerialPort& port);

}  // namespace zk
