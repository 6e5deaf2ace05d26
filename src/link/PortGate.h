#pragma once
// The reading stream's gate over the serial port: receive threshold 0 holds it, 5 releases
// it (only when a port is in use), an input count of 0 throws away what waits.
#include "core/Context.h"
#include "core/StreamGate.h"
#include "link/SerialPort.h"

namespace zk {

class PortGate : public StreamGate {
 public:
  // Characters that must wait before the receive event fires while the stream runs.
  static constexpr int RunningThreshold = 5;

  PortGate(Context& ctx, SerialPort& port) : ctx_(ctx), port_(port) {}

  void Hold() override { port_.SetRThreshold(0); }
  void Discard() override { port_.SetInBufferCount(0); }
  void Release() override {
    if (ctx_.settings.CommPort != 0) port_.SetRThreshold(RunningThreshold);
  }
  void RestartMeter() override { ctx_.state.ResetPending = true; }

 private:
  Context& ctx_;
  SerialPort& port_;
};

}  // namespace zk
