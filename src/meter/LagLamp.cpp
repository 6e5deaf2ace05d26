#include "meter/LagLamp.h"

namespace zk {

void LagLamp::Light() {
  const Settings& s = ctx_.settings;
  if (ctx_.state.LedColor != s.LED_Lag_Color) {
    ctx_.view.Update_LED(s.LED_Lag_Color);
    lit_ = true;
  }
  litAt_ = ctx_.clock.Timer();
}

void LagLamp::Put_Out() {
  const Settings& s = ctx_.settings;
  // Another colour on show means the lamp was taken over since (a SET, a recorded lamp).
  if (ctx_.state.LedColor != s.LED_Lag_Color) lit_ = false;
  if (!lit_ || Timer_Elapsed(litAt_, ctx_.clock.Timer()) <= Hold) return;
  ctx_.view.Update_LED(s.Dial_Color);
  lit_ = false;
}

}  // namespace zk
