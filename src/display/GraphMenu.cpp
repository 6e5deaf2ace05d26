#include "display/GraphMenu.h"

#include <string>

#include "core/Numbers.h"

namespace zk {

GraphMenu::GraphMenu(Context& ctx, StripChart& chart, Surface& graph, const Surface& panel)
    : ctx_(ctx), chart_(chart), graph_(graph), panel_(panel) {}

void GraphMenu::mnuViewGraph_Click() {
  Settings& s = ctx_.settings;
  s.GraphVisible = !s.GraphVisible;
  ctx_.controls.SetChecked("mnuViewGraph", s.GraphVisible);
  ctx_.controls.SetVisible("picGraph", s.GraphVisible);
  ctx_.controls.SetEnabled("mnuGraph", s.GraphVisible);
  ctx_.shell.Form_Resize();
}

void GraphMenu::mnuGraphGridX_Click() {
  Settings& s = ctx_.settings;
  s.GridX = !s.GridX;
  ctx_.controls.SetChecked("mnuGraphGridX", s.GridX);
}

void GraphMenu::mnuGraphGridY_Click() {
  Settings& s = ctx_.settings;
  s.GridY = !s.GridY;
  ctx_.controls.SetChecked("mnuGraphGridY", s.GridY);
}

void GraphMenu::mnuGraphInvert_Click() {
  Settings& s = ctx_.settings;
  s.GraphInvert = !s.GraphInvert;
  ctx_.controls.SetChecked("mnuGraphInvert", s.GraphInvert);
  chart_.GraphResetPending = true;
}

// The index arrays come from the menu, which offers only valid items; an index from
// anywhere else (a bad saved value at start-up) changes nothing.
void GraphMenu::mnuGraphPenWidthIndex_Click(int index) {
  if (index < 1 || index > 3) return;
  for (int k = 0; k <= 3; ++k) ctx_.controls.SetChecked("mnuGraphPenWidthIndex", k, false);
  ctx_.controls.SetChecked("mnuGraphPenWidthIndex", index, true);
  ctx_.settings.GraphPenWidth_Index = std::to_string(index);
  chart_.GraphResetPending = true;
}

void GraphMenu::mnuGraphHeightIndex_Click(int index) {
  if (index < 1 || index > 5) return;
  for (int k = 0; k <= 5; ++k) ctx_.controls.SetChecked("mnuGraphHeightIndex", k, false);
  ctx_.controls.SetChecked("mnuGraphHeightIndex", index, true);
  ctx_.settings.GraphHeight_Index = std::to_string(index);
  graph_.Resize(graph_.WidthPx(), CInt32(panel_.HeightPx() * index / 5.0));
  ctx_.shell.Form_Resize();
}

void GraphMenu::mnuGraphTimescaleSecs_Click(int index) {
  if (index < 1 || index > 4) return;
  ctx_.settings.GraphTimescale = std::to_string(8 * index);
  chart_.GraphResetPending = true;
}

}  // namespace zk
