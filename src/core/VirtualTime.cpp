#include "core/VirtualTime.h"

#include <algorithm>
#include <limits>

namespace zk {

VirtualClock::~VirtualClock() {
  for (VirtualTimer* t : timers_) t->clock_ = nullptr;
}

DateTime VirtualClock::Now() {
  DateTime d = date;
  const int s = static_cast<int>(now);
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
    now = std::max(now, next->Due());
    next->Trigger();
  }
  now = std::max(now, t);
}

void VirtualClock::PassIdle(double dt) {
  if (dt <= 0) return;
  now += dt;
  for (VirtualTimer* timer : timers_)
    if (timer->Enabled()) timer->due_ += dt;
}

double VirtualClock::NextDue() const {
  double due = std::numeric_limits<double>::infinity();
  for (const VirtualTimer* timer : timers_)
    if (timer->Enabled()) due = std::min(due, timer->Due());
  return due;
}

VirtualTimer::VirtualTimer(VirtualClock& clock, int ms) : clock_(&clock), ms_(ms) { clock_->timers_.push_back(this); }

VirtualTimer::~VirtualTimer() {
  if (!clock_) return;
  auto& v = clock_->timers_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void VirtualTimer::Start() {
  enabled_ = true;
  ++starts;
  due_ = (clock_ ? clock_->now : 0) + ms_ / 1000.0;
}

void VirtualTimer::Trigger() {
  due_ = (clock_ ? clock_->now : 0) + ms_ / 1000.0;
  Fire();
}

void VirtualEvents::DoEvents() {
  ++calls;
  clock_.Advance(step_);
  Run_Due();
}

void VirtualEvents::DoEventsFor(double seconds) {
  ++calls;
  // The sleep ends early at the next timer or scripted action, as an event ends a real one.
  double to = std::min(clock_.now + std::max(seconds, 0.0), clock_.NextDue());
  if (!script_.empty()) to = std::min(to, script_.front().at);
  to = std::max(to, clock_.now);
  clock_.AdvanceTo(to);
  Run_Due();
}

void VirtualEvents::Run_Due() {
  // Due actions leave the script before they run: an action may script more or wait itself.
  while (!script_.empty() && script_.front().at <= clock_.now) {
    std::function<void()> action = std::move(script_.front().action);
    script_.erase(script_.begin());
    action();
  }
}

void VirtualEvents::At(double t, std::function<void()> action) {
  auto pos = std::find_if(script_.begin(), script_.end(), [t](const Scripted_Action& a) { return a.at > t; });
  script_.insert(pos, Scripted_Action{t, std::move(action)});
}

}  // namespace zk
