#include "core/Wait.h"

namespace zk {

bool Wait_Until(Events& events, Clock& clock, double limit, const std::function<bool()>& done,
                const std::function<bool()>& stalled) {
  const double start = clock.Timer();
  for (;;) {
    if (done()) return true;
    if (Timer_Elapsed(start, clock.Timer()) >= limit || (stalled && stalled())) return false;
    events.DoEvents();
  }
}

void WatchdogHeld::DoEvents() {
  st_.InputWatchdogArmed = false;
  events_.DoEvents();
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
