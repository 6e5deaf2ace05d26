#include "recording/RecordClock.h"

#include <algorithm>
#include <cmath>

namespace zk {

int32_t RecordClock::Stamp(int64_t messages, double soundMs) {
  const double counted = static_cast<double>(messages) * MessageMs;
  const double offset = soundMs - counted;
  if (!started_) {
    offset_ = offset;
    started_ = true;
  } else {
    const double crept = offset_ + CreepPerSecond * std::max(0.0, soundMs - soundMs_) / 1000.0;
    offset_ = std::max(std::min(crept, offset), offset - LateRead);
  }
  soundMs_ = soundMs;
  const auto t = static_cast<int32_t>(std::lround(counted + offset_));
  last_ = std::max({last_, t, 0});
  return last_;
}

}  // namespace zk
