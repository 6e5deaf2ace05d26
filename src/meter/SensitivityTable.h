#pragma once
// The 64 steps of the sensitivity knob. Each step names a gain by a short text ("1.0" up
// to "40"): the knob prints the text, the needle scales by the text's value rounded to a
// whole number (halves to even), and the strip chart scales by the exact value.
#include <array>
#include <string>

#include "core/Context.h"

namespace zk {

class SensitivityTable {
 public:
  static constexpr int MaxStep = MaxSensitivityStep;
  static constexpr int Steps = MaxStep + 1;  // steps 0..63

  // Fills the texts of steps 0..63.
  void Init_SensTable();

  // Gain text of a step, with the same clamping as Multiplier: a step from a hand-edited
  // file must not stop the knob from being drawn.
  const std::string& Text(int step) const;
  // Whole-number multiplier of the needle: the text's value, half-to-even. A step outside
  // 0..63 is taken as the nearest end, so a bad stored step can never divide by zero.
  // Before Init_SensTable every step answers 1.
  int Multiplier(int step) const;
  // Exact value of the text, for the strip chart; the same clamping as Multiplier.
  double Gain(int step) const;

 private:
  static int Clamp(int step);
  std::array<std::string, Steps> text_{};
  std::array<int, Steps> whole_{};
  std::array<double, Steps> gain_{};
  bool filled_ = false;
};

// The step-by-step controls of the Up and Down keys: one step up or down, held within
// 0..63, then the knob is redrawn.
void Go_Up(Context& ctx);
void Go_Down(Context& ctx);

}  // namespace zk
