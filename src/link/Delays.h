#pragma once
// Waits that let the window process its events: TDelay(n) waits n x 0.054 s, SDelay(s)
// waits s x 18 TDelay units (about s seconds). Both survive the timer passing midnight.
#include "core/Context.h"

namespace zk {

void TDelay(Context& ctx, int n);
void SDelay(Context& ctx, int s);

}  // namespace zk
