#pragma once
// A clock, interval timers and an event pump on virtual time, so a capture replays the
// same way at any speed. Time only moves when AdvanceTo (or DoEvents) moves it; timers
// fire in order of their due times on the way.
#include <vector>

#include "core/Clock.h"
#include "core/Events.h"
#include "core/IntervalTimer.h"

namespace zk::replay {

class VirtualTimer;

class VirtualClock : public Clock {
 public:
  explicit VirtualClock(double start) : now_(start) {}
  double Timer() override { return now_; }
  DateTime Now() override;
  // Moves time to t (never back), firing every timer that falls due up to t.
  void AdvanceTo(double t);
  // Moves time without running timers: a receive call waiting on the port.
  void JumpTo(double t) {
    if (t > now_) now_ = t;
  }

 private:
  friend class VirtualTimer;
  double now_;
  std::vector<VirtualTimer*> timers_;
};

class VirtualTimer : public IntervalTimer {
 public:
  VirtualTimer(VirtualClock& clock, int ms);
  ~VirtualTimer() override;
  void Start() override;
  void Stop() override { enabled_ = false; }
  bool Enabled() const override { return enabled_; }
  int IntervalMs() const override { return ms_; }
  double Due() const { return due_; }
  void Fire_Now();

 private:
  VirtualClock& clock_;
  int ms_;
  bool enabled_ = false;
  double due_ = 0;
};

// Processing pending events means letting 5 ms of virtual time pass.
class VirtualEvents : public Events {
 public:
  explicit VirtualEvents(VirtualClock& clock) : clock_(clock) {}
  void DoEvents() override { clock_.AdvanceTo(clock_.Timer() + 0.005); }

 private:
  VirtualClock& clock_;
};

}  // namespace zk::replay
