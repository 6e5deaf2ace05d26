#pragma once
// The one wait of the program on the Events seam: Wait_Until lets the window process events
// until a condition holds, giving up after a time limit or when what it waits on has stalled;
// Stillness tells when a count (a sound position, a number of records) has stopped moving;
// WatchdogHeld is the events of a wait that expects no reading. The recorder's pre-roll and
// stop and the player's banners and its wait for the sound clock all wait through these.
#include <cstdint>
#include <functional>

#include "base/Clock.h"
#include "core/Events.h"
#include "core/SessionState.h"

namespace zk {

// Each round: `done()`, then the time limit of `limit` seconds and `stalled()`, then one
// round of events. True when `done()` answered true; false when the wait gave up. An
// empty `stalled` never stalls.
// `dueIn`, when given, answers (after a `done()` that said no) in how many seconds `done`
// is next worth asking: the round then sleeps until then, or until an event comes, instead
// of polling — no longer than the time left nor than MaxSleep, so a stall is still seen.
bool Wait_Until(Events& events, Clock& clock, double limit, const std::function<bool()>& done,
                const std::function<bool()>& stalled = {}, const std::function<double()>& dueIn = {});

// The longest sleep of one round of a wait that knows when it is due.
constexpr double MaxSleep = 0.1;
// The shortest: a condition that is late by the clock is asked again after this, so the
// wait never spins.
constexpr double MinSleep = 0.001;

// The events of a wait during which no reading is due (the player's banners): the input
// watchdog is disarmed before each round, so that the quiet is not taken for a lost sensor.
class WatchdogHeld : public Events {
 public:
  WatchdogHeld(Events& events, SessionState& st) : events_(events), st_(st) {}
  void DoEvents() override;
  void DoEventsFor(double seconds) override;

 private:
  Events& events_;
  SessionState& st_;
};

// Whether a count has kept its value for `seconds`.
class Stillness {
 public:
  // Nothing seen yet: the first value given to Still starts the count.
  Stillness(Clock& clock, double seconds) : clock_(clock), seconds_(seconds) {}
  // `value` seen now: the count starts here.
  Stillness(Clock& clock, double seconds, int64_t value);

  // Notes `value` at the present time; true once it has not changed for `seconds`.
  bool Still(int64_t value);
  // Forgets the value: the next Still starts the count again.
  void Reset() { seen_ = false; }

 private:
  Clock& clock_;
  double seconds_;
  bool seen_ = false;
  int64_t last_ = 0;
  double since_ = 0;
};

}  // namespace zk
