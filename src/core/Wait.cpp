#include "core/Wait.h"

#include <algorithm>

namespace zk {

bool Wait_Until(Events& events, Clock& clock, double limit, const std::function<bool()>& done,
                const std::function<bool()>& stalled, const std::function<double()>& dueIn) {
  const double start = clock.Timer();
  for (;;) {
    if (done()) return true;
    const double elapsed = Timer_Elapsed(start, clock.Timer());
    if (elapsed >= limit || (stalled && stalled())) return false;
    if (dueIn)
      events.DoEventsFor(std::clamp(std::min(dueIn(), limit - elapsed), MinSleep, MaxSleep));
    else
      events.DoEvents();
  }
}

void WatchdogHeld::DoEvents() {
  st_.InputWatchdogArmed = false;
  events_.DoEvents();
}

void WatchdogHeld::DoEventsFor(double seconds) {
  st_.InputWatchdogArmed = false;
  events_.DoEventsFor(seconds);
}

Stillness::Stillness(Clock& clock, double seconds, int64_t value)
    : clock_(clock), seconds_(seconds), seen_(true), last_(value), since_(clock.Timer()) {}

bool Stillness::Still(int64_t value) {
  const double now = clock_.Timer();
  if (!seen_ || value != last_) {
    seen_ = true;
    last_ = value;
    since_ = now;
  }
  return Timer_Elapsed(since_, now) >= seconds_;
}

}  // namespace zk
