#include "tools/replay/VirtualTime.h"

#include <algorithm>

namespace zk::replay {

DateTime VirtualClock::Now() {
  DateTime d{2026, 1, 1, 0, 0, 0};
  const int s = static_cast<int>(now_);
  d.hour = s / 3600;
  d.minute = (s / 60) % 60;
  d.second = s % 60;
  return d;
}

void VirtualClock::AdvanceTo(double t) {
  for (;;) {
    VirtualTimer* next = nullptr;
    for (VirtualTimer* timer : timers_)
      if (timer->Enabled() && timer->Due() <= t && (!next || timer->Due() < next->Due())) next = timer;
    if (!next) break;
    now_ = std::max(now_, next->Due());
    next->Fire_Now();
  }
  now_ = std::max(now_, t);
}

VirtualTimer::VirtualTimer(VirtualClock& clock, int ms) : clock_(clock), ms_(ms) { clock_.timers_.push_back(this); }

VirtualTimer::~VirtualTimer() {
  auto& v = clock_.timers_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void VirtualTimer::Start() {
  enabled_ = true;
  due_ = clock_.Timer() + ms_ / 1000.0;
}

void VirtualTimer::Fire_Now() {
  due_ = clock_.Timer() + ms_ / 1000.0;
  Fire();
}

}  // namespace zk::replay
