#pragma once
// A clock, interval timers and an event pump on virtual time, for running the window's
// procedures faster than real time (stream replay, tests). Time only moves when it is
// moved; timers fire in order of their due times on the way.
#include <functional>
#include <vector>

#include "base/Clock.h"
#include "core/Events.h"
#include "core/IntervalTimer.h"

namespace zk {

class VirtualTimer;

class VirtualClock : public Clock {
 public:
  VirtualClock(double start, DateTime today) : now(start), date(today) {}
  ~VirtualClock() override;

  double now;     // seconds since midnight
  DateTime date;  // today's date; the time of day comes from `now`

  double Timer() override { return now; }
  DateTime Now() override;
  // Moves time to t (never back), firing every timer that falls due up to t.
  void AdvanceTo(double t);
  void Advance(double dt) { AdvanceTo(now + dt); }
  // Moves time on by dt as if nothing had happened meanwhile: every running timer keeps
  // its rhythm, its next due time moving by dt too. For skipping idle stretches whose
  // timer ticks are known to change nothing.
  void PassIdle(double dt);
  // When the next running timer falls due; infinity when none runs.
  double NextDue() const;
  // Moves time without running timers: a receive call that waits on the port does not
  // let the window's timers run.
  void JumpTo(double t) {
    if (t > now) now = t;
  }

 private:
  friend class VirtualTimer;
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
  // Fires now, as the platform does when the interval has passed.
  void Trigger();
  int starts = 0;  // how often Start was called

 private:
  friend class VirtualClock;
  VirtualClock* clock_;
  int ms_;
  bool enabled_ = false;
  double due_ = 0;
};

// Processing pending events lets `step` seconds of virtual time pass, so waiting loops end.
// Actions scripted with At() run inside the DoEvents call during which their moment is
// reached, as a click or a key press arrives while a long operation lets events through.
class VirtualEvents : public Events {
 public:
  explicit VirtualEvents(VirtualClock& clock, double step = 0.005) : clock_(clock), step_(step) {}
  void DoEvents() override;
  // Lets `seconds` pass, or less when a timer or a scripted action falls due sooner.
  void DoEventsFor(double seconds) override;
  // Runs `action` in the first DoEvents that reaches virtual time `t` (seconds since midnight).
  void At(double t, std::function<void()> action);
  int calls = 0;

 private:
  struct Scripted_Action {
    double at;
    std::function<void()> action;
  };
  void Run_Due();

  VirtualClock& clock_;
  double step_;
  std::vector<Scripted_Action> script_;  // in order of their moments
};

}  // namespace zk
