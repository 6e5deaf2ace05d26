#include "meter/SensitivityTable.h"

#include <algorithm>

#include "base/Numbers.h"

namespace zk {

namespace {
// Gain text of each knob step. Neighbouring steps may share a text: the steps are finer
// than the gains the scale names.
constexpr const char* GainTexts[SensitivityTable::Steps] = {
    "1.0", "1.2", "1.4", "1.4", "1.6", "1.8", "2.0", "2.0",  // 0..7
    "2.5", "2.5", "2.5", "3.0", "3.0", "3.5", "3.5", "3.5",  // 8..15
    "4.0", "4.0", "4.5", "4.5", "5.0", "5.0", "5.5", "5.5",  // 16..23
    "6.0", "6.0", "6.5", "6.5", "7.0", "7.5", "7.5", "8.0",  // 24..31
    "8.5", "8.5", "9.0", "9.5", "10",  "10",  "11",  "11",   // 32..39
    "12",  "12",  "13",  "13",  "14",  "15",  "15",  "16",   // 40..47
    "17",  "18",  "19",  "20",  "20",  "22",  "22",  "24",   // 48..55
    "26",  "28",  "28",  "30",  "33",  "35",  "37",  "40",   // 56..63
};
}  // namespace

void SensitivityTable::Init_SensTable() {
  for (int s = 0; s < Steps; ++s) {
    text_[s] = GainTexts[s];
    // The texts are fixed and all parse; the whole number is the text's value rounded
    // half to even ("2.5" -> 2, "3.5" -> 4).
    gain_[s] = ParseNumber(text_[s]).value_or(1.0);
    whole_[s] = CInt32(gain_[s]);
  }
  filled_ = true;
}

int SensitivityTable::Clamp(int step) { return std::clamp(step, 0, MaxStep); }

const std::string& SensitivityTable::Text(int step) const { return text_[Clamp(step)]; }

int SensitivityTable::Multiplier(int step) const { return filled_ ? whole_[Clamp(step)] : 1; }

double SensitivityTable::Gain(int step) const { return filled_ ? gain_[Clamp(step)] : 1.0; }

void Go_Up(Context& ctx) {
  int16_t& s = ctx.settings.SensitivityIndex;
  s = s > SensitivityTable::MaxStep - 1 ? SensitivityTable::MaxStep : static_cast<int16_t>(s + 1);
  ctx.view.Update_SensKnob();
}

void Go_Down(Context& ctx) {
  int16_t& s = ctx.settings.SensitivityIndex;
  s = s < 1 ? 0 : static_cast<int16_t>(s - 1);
  ctx.view.Update_SensKnob();
}

}  // namespace zk
