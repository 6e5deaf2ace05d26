#pragma once
// The secondary colours the display derives from the user's colour settings, and the
// channel accessors of a 0x00BBGGRR colour.
#include <cstdint>

#include "core/Context.h"

namespace zk {

void Get_Red(int32_t color, int32_t& red);      // color and 255
void Get_Green(int32_t color, int32_t& green);  // (color \ 256) and 255
void Get_Blue(int32_t color, int32_t& blue);    // (color \ 65536) and 255

// state.ShadowNeedleColor: the main needle colour over the dial colour at the weight of
// ShadowNeedleColor_Index (0 off, 1..5 = 2, 4, 7, 11, 20 twentieths).
void Calc_ShadowNeedleColor(Context& ctx);
// state.FaintNeedleColor: the main needle colour at one fifth over the dial colour.
void Calc_FaintNeedleColor(Context& ctx);
// state.DimTextColor: the text colour at one fifth over the panel colour.
void Calc_DimTextColor(Context& ctx);

}  // namespace zk
