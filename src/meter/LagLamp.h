#pragma once
// The lag lamp: the LED lit in the lag colour when the program falls behind — more messages
// in one burst than the lag threshold (the live stream), or records dropped because the
// sound ran ahead of them (the player) — and put out again once it has stayed lit for
// Hold seconds without a new lag. It puts out only a lamp it lit itself: a lag lamp shown
// from a recording stays until the recording puts it out.
#include "core/Context.h"

namespace zk {

class LagLamp {
 public:
  // Seconds the lamp stays lit after the last lag.
  static constexpr double Hold = 0.1;

  // `litAt` keeps the timer seconds of the last lag (a field of the session state).
  LagLamp(Context& ctx, double& litAt) : ctx_(ctx), litAt_(litAt) {}

  // A lag now: the lamp in the lag colour, held from now.
  void Light();
  // Back to the dial colour once the hold has passed since the last lag, when the lamp
  // is still the one this lit.
  void Put_Out();
  // The lamp was drawn afresh by someone else (a playback starting): not this one's.
  void Forget() { lit_ = false; }

 private:
  Context& ctx_;
  double& litAt_;
  bool lit_ = false;  // the lamp on show is the one Light drew
};

}  // namespace zk
