#include "display/GraphMenu.h"

#include <string>

#include "base/Numbers.h"
#include "core/ControlNames.h"
#include "core/MenuTicks.h"

namespace zk {

GraphMenu::GraphMenu(Context& ctx, StripChart& chart, Surface& graph, const Surface& panel)
    : ctx_(ctx), chart_(chart), graph_(graph), panel_(panel) {}

void GraphMenu::Register_Commands(CommandTable& commands) {
  commands.Add(ctl::mnuViewGraph, [this] { mnuViewGraph_Click(); });
  commands.Add(ctl::mnuGraphGridX, [this] { mnuGraphGridX_Click(); });
  commands.Add(ctl::mnuGraphGridY, [this] { mnuGraphGridY_Click(); });
  commands.AddIndexed(ctl::mnuGraphHeightIndex, [this](int i) { mnuGraphHeightIndex_Click(i); });
  commands.AddIndexed(ctl::mnuGraphPenWidthIndex, [this](int i) { mnuGraphPenWidthIndex_Click(i); });
  commands.Add(ctl::mnuGraphInvert, [this] { mnuGraphInvert_Click(); });
  commands.AddIndexed(ctl::mnuGraphTimescaleSecs, [this](int i) { mnuGraphTimescaleSecs_Click(i); });
}

void GraphMenu::mnuViewGraph_Click() {
  Settings& s = ctx_.settings;
  s.GraphVisible = !s.GraphVisible;
  ctx_.controls.SetChecked(ctl::mnuViewGraph, s.GraphVisible);
  ctx_.controls.SetVisible(ctl::picGraph, s.GraphVisible);
  ctx_.controls.SetEnabled(ctl::mnuGraph, s.GraphVisible);
  ctx_.shell.Form_Resize();
}

void GraphMenu::mnuGraphGridX_Click() {
  Settings& s = ctx_.settings;
  s.GridX = !s.GridX;
  ctx_.controls.SetChecked(ctl::mnuGraphGridX, s.GridX);
}

void GraphMenu::mnuGraphGridY_Click() {
  Settings& s = ctx_.settings;
  s.GridY = !s.GridY;
  ctx_.controls.SetChecked(ctl::mnuGraphGridY, s.GridY);
}

void GraphMenu::mnuGraphInvert_Click() {
  Settings& s = ctx_.settings;
  s.GraphInvert = !s.GraphInvert;
  ctx_.controls.SetChecked(ctl::mnuGraphInvert, s.GraphInvert);
  chart_.GraphResetPending = true;
}

// The index arrays come from the menu, which offers only valid items; an index from
// anywhere else (a bad saved value at start-up) changes nothing.
void GraphMenu::mnuGraphPenWidthIndex_Click(int index) {
  if (index < 1 || index > 3) return;
  Tick_One(ctx_.controls, ctl::mnuGraphPenWidthIndex, 0, 3, index);
  ctx_.settings.GraphPenWidth_Index = std::to_string(index);
  chart_.GraphResetPending = true;
}

void GraphMenu::mnuGraphHeightIndex_Click(int index) {
  if (index < 1 || index > 5) return;
  Tick_One(ctx_.controls, ctl::mnuGraphHeightIndex, 0, 5, index);
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
