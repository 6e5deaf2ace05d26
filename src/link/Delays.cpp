#include "link/Delays.h"

namespace zk {

namespace {
constexpr double TickSeconds = 0.054;
constexpr double Day = 86400.0;
}  // namespace

void TDelay(Context& ctx, int n) {
  if (n <= 0) return;
  double last = ctx.clock.Timer();
  double end = last + n * TickSeconds;
  for (;;) {
    const double now = ctx.clock.Timer();
    // The timer went back to 0 at midnight: the end moves with it, so the wait still ends.
    if (now < last) end -= Day;
    last = now;
    if (now >= end) return;
    ctx.events.DoEvents();
  }
}

void SDelay(Context& ctx, int s) { TDelay(ctx, s * 18); }

}  // namespace zk
