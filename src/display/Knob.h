#pragma once
// The sensitivity knob on picKnob: a 270-degree ring, ten ticks, a hub, a wedge pointer for
// the current step and the step's gain text; the mouse turns it.
#include <cstdint>

#include "core/Context.h"
#include "display/Surface.h"
#include "meter/SensitivityTable.h"

namespace zk {

class Knob {
 public:
  Knob(Context& ctx, Surface& knob, const Surface& panel, const SensitivityTable& table);

  // Redraws the knob for settings.SensitivityIndex. A step outside 0..64 throws
  // std::out_of_range before the label is printed.
  void Update_SensKnob();
  // Press or move with the left button: the step nearest the pointer direction (x, y in
  // the knob's coordinates). Ignored in playback without override, for other buttons and
  // on the vertical axis.
  void picKnob_MouseDown(int button, int shift, float x, float y);
  void picKnob_MouseMove(int button, int shift, float x, float y) { picKnob_MouseDown(button, shift, x, y); }

  // The step a pointer direction (x, y) selects; x must not be 0 (the handlers skip it).
  static int16_t StepAt(float x, float y);

 private:
  Context& ctx_;
  Surface& knob_;
  const Surface& panel_;
  const SensitivityTable& table_;
};

}  // namespace zk
