#include "core/Settings.h"

namespace zk {

void Set_Default_Colors(Settings& s) {
  const Settings d;
  s.Dial_Color = d.Dial_Color;
  s.LED_Set_Color = d.LED_Set_Color;
  s.LED_BM_Color = d.LED_BM_Color;
  s.LED_Lag_Color = d.LED_Lag_Color;
  s.Panel_Color = d.Panel_Color;
  s.Background_Color = d.Background_Color;
  s.GraphSheet_Color = d.GraphSheet_Color;
  s.GraphPen_Color = d.GraphPen_Color;
  s.GraphGrid_Color = d.GraphGrid_Color;
  s.MainNeedle_Color = d.MainNeedle_Color;
  s.ShadowNeedleColor_Index = d.ShadowNeedleColor_Index;
  s.FreezeNeedle_Color = d.FreezeNeedle_Color;
  s.Scale_Color = d.Scale_Color;
  s.Text_Color = d.Text_Color;
}

}  // namespace zk
