#include "meter/LagLamp.h"

namespace zk {

void LagLamp::Light() {
  const Settings& s = ctx_.settings;
  if (ctx_.state.LedColor != s.LED_Lag_Color) ctx_.view.Update_LED(s.LED_Lag_Color);
  litAt_ = ctx_.clock.Timer();
}

void LagLamp::Put_Out() {
  const Settings& s = ctx_.settings;
  if (Timer_Elapsed(litAt_, ctx_.clock.Timer()) > Hold && ctx_.state.LedColor == s.LED_Lag_Color)
    ctx_.view.Update_LED(s.Dial_Color);
}

}  // namespace zk
