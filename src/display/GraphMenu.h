#pragma once
// The View > Graph item and the Graph menu: show/hide, grid lines, invert, pen width,
// height and the (hidden) timescale. Check marks go through ctx.controls; a change of
// size asks the shell for a new layout.
#include "core/CommandTable.h"
#include "core/Context.h"
#include "display/StripChart.h"
#include "display/Surface.h"

namespace zk {

class GraphMenu {
 public:
  GraphMenu(Context& ctx, StripChart& chart, Surface& graph, const Surface& panel);

  void mnuViewGraph_Click();
  void mnuGraphGridX_Click();
  void mnuGraphGridY_Click();
  void mnuGraphInvert_Click();
  void mnuGraphPenWidthIndex_Click(int index);  // 1..3
  void mnuGraphHeightIndex_Click(int index);    // 1..5
  void mnuGraphTimescaleSecs_Click(int index);  // 1..4: 8, 16, 24, 32 s
  // View > Graph and the Graph menu's items.
  void Register_Commands(CommandTable& commands);

 private:
  Context& ctx_;
  StripChart& chart_;
  Surface& graph_;
  const Surface& panel_;
};

}  // namespace zk
