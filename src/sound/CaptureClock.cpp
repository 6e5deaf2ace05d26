#include "sound/CaptureClock.h"

#include <algorithm>
#include <cmath>

namespace zk {

void CaptureClock::Start(int32_t rate, int64_t frames) {
  watch_.Restart();
  rate_ = std::max(1, rate);
  delivered_ = answered_ = frames;
  Forget_Blocks();
  // A stream may take a while to start: the first block it delivers sets the time line.
  lined_ = false;
  seen_ = 0;
}

void CaptureClock::Restart() {
  lined_ = false;
  Forget_Blocks();
}

void CaptureClock::Forget_Blocks() {
  blocks_.fill(0);
  next_ = 0;
}

void CaptureClock::Drop(int64_t frames) {
  delivered_ -= frames;
  answered_ = std::max<int64_t>(0, answered_ - frames);
  line_ += static_cast<double>(frames) / rate_;
}

int64_t CaptureClock::Block() const { return *std::max_element(blocks_.begin(), blocks_.end()); }

int64_t CaptureClock::Now(int64_t delivered) {
  const double t = watch_.Elapsed();
  if (delivered > delivered_) {
    blocks_[next_++ % blocks_.size()] = delivered - delivered_;
    delivered_ = delivered;
    const double line = t - static_cast<double>(delivered) / rate_;
    const double blockSeconds = static_cast<double>(Block()) / rate_;
    if (!lined_) {
      line_ = line;
    } else {
      const double crept = line_ + Creep * (t - seen_);
      // Behind the line by more than the block itself: sound went missing, not late eyes.
      line_ = line > crept + blockSeconds ? line : std::min(crept, line);
    }
    lined_ = true;
    seen_ = t;
  }
  int64_t now = delivered_;
  if (lined_) {
    const auto estimate = static_cast<int64_t>(std::floor((t - line_) * rate_));
    now = std::clamp(estimate, delivered_, delivered_ + Block());
  }
  answered_ = std::max(answered_, now);
  return answered_;
}

}  // namespace zk
