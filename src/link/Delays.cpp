#include "link/Delays.h"

#include "core/Wait.h"

namespace zk {

namespace {
constexpr double TickSeconds = 0.054;
}  // namespace

void TDelay(Context& ctx, int n) {
  if (n <= 0) return;
  // Nothing to wait for but the time: each round sleeps until an event comes or the delay
  // is over. Wait_Until measures the time across midnight.
  Wait_Until(
      ctx.events, ctx.clock, n * TickSeconds, [] { return false; }, {}, [] { return MaxSleep; });
}

void SDelay(Context& ctx, int s) { TDelay(ctx, s * 18); }

}  // namespace zk
