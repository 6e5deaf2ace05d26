#pragma once
// The serial port of a replay: the capture's lines are its input. The replay loop hands
// the port one line at a time; a receive call that waits for more input takes the later
// lines itself, moving virtual time to each, up to its deadline.
#include <cstddef>
#include <string>

#include "core/VirtualTime.h"
#include "link/MemoryPort.h"
#include "tools/replay/Capture.h"

namespace zk::replay {

class ReplayPort : public MemoryPort {
 public:
  // The replay starts as after a successful connect: port 1 open at 9600,n,8,1.
  ReplayPort(VirtualClock& clock, CaptureSource& lines, double start) : clock_(clock), lines_(lines), start_(start) {
    port_ = 1;
    open_ = true;
    settings_ = "9600,n,8,1";
    more_ = lines_.Next(next_);
  }

  bool More() const { return more_; }
  double Next_Time() const { return start_ + next_.ms / 1000.0; }
  void Deliver_Next() {
    Receive(next_.bytes);
    more_ = lines_.Next(next_);
  }
  void Fire() { FireOnComm(); }

  bool WaitForInput(int ms) override {
    const double until = clock_.Timer() + ms / 1000.0;
    while (!Input_Waiting() && More() && Next_Time() <= until) {
      clock_.JumpTo(Next_Time());
      Deliver_Next();
    }
    if (Input_Waiting()) return true;
    clock_.JumpTo(until);
    return false;
  }

 private:
  VirtualClock& clock_;
  CaptureSource& lines_;
  double start_;
  CaptureLine next_;  // the event after those delivered, while more_
  bool more_ = false;
};

}  // namespace zk::replay
