#include "display/DerivedColors.h"

#include "base/Numbers.h"

namespace zk {

void Get_Red(int32_t color, int32_t& red) { red = color & 255; }
void Get_Green(int32_t color, int32_t& green) { green = static_cast<int32_t>(IntDiv(color, 256)) & 255; }
void Get_Blue(int32_t color, int32_t& blue) { blue = static_cast<int32_t>(IntDiv(color, 65536)) & 255; }

namespace {
// Each channel of `over` moved toward `toward` by the weight, rounded half to even. The
// result is only stored when every channel converts, so a fault leaves the old colour.
int32_t Blend(int32_t over, int32_t toward, double weight) {
  int32_t o[3], t[3];
  Get_Red(over, o[0]);
  Get_Green(over, o[1]);
  Get_Blue(over, o[2]);
  Get_Red(toward, t[0]);
  Get_Green(toward, t[1]);
  Get_Blue(toward, t[2]);
  int32_t c[3];
  for (int i = 0; i < 3; ++i) c[i] = CInt32(o[i] + weight * (t[i] - o[i]));
  return c[0] + c[1] * 256 + c[2] * 65536;
}
}  // namespace

void Calc_ShadowNeedleColor(Context& ctx) {
  int w = 0;
  switch (ctx.settings.ShadowNeedleColor_Index) {
    case 1: w = 2; break;
    case 2: w = 4; break;
    case 3: w = 7; break;
    case 4: w = 11; break;
    case 5: w = 20; break;
    default: w = 0; break;
  }
  ctx.state.ShadowNeedleColor = Blend(ctx.settings.Dial_Color, ctx.settings.MainNeedle_Color, w / 20.0);
}

void Calc_FaintNeedleColor(Context& ctx) {
  ctx.state.FaintNeedleColor = Blend(ctx.settings.Dial_Color, ctx.settings.MainNeedle_Color, 0.2);
}

void Calc_DimTextColor(Context& ctx) {
  int32_t p[3], t[3];
  Get_Red(ctx.settings.Panel_Color, p[0]);
  Get_Green(ctx.settings.Panel_Color, p[1]);
  Get_Blue(ctx.settings.Panel_Color, p[2]);
  Get_Red(ctx.settings.Text_Color, t[0]);
  Get_Green(ctx.settings.Text_Color, t[1]);
  Get_Blue(ctx.settings.Text_Color, t[2]);
  int32_t c[3];
  for (int i = 0; i < 3; ++i) c[i] = p[i] + static_cast<int32_t>(IntDiv(t[i] - p[i], 5));
  ctx.state.DimTextColor = c[0] + c[1] * 256 + c[2] * 65536;
}

}  // namespace zk
