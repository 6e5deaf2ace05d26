#pragma once
// Draws the needle on picMeterPanel: each move erases the stroke drawn last by drawing it
// again in the dial colour, then draws the new one. The strokes are drawn without
// antialiasing, so the erase covers exactly the pixels the stroke coloured.
#include <cstdint>

#include "core/Context.h"
#include "display/Surface.h"

namespace zk {

// The strokes on the face, relative to the pivot, kept so the next move can erase them.
struct NeedleStrokes {
  float NeedleX1 = 0, NeedleX2 = 0, NeedleY1 = 0, NeedleY2 = 0;
  float ShadowX1 = 0, ShadowX2 = 0, ShadowY1 = 0, ShadowY2 = 0;
  int16_t ShadowVisible = 0;  // -1 while a shadow stroke is on the face
};

class NeedleDrawer {
 public:
  NeedleDrawer(Context& ctx, Surface& panel);

  // Erases the previous strokes (unless ResetPending says the face is fresh) and draws the
  // needle at position p in the main or the frozen needle colour.
  void Draw(int32_t p);
  // Wipes the needle zone of the face (the caller redraws the banner on traditional dials).
  void Remove_Needle();

  const NeedleStrokes& Strokes() const { return strokes_; }

 private:
  // One-pixel pen, fore and fill colour `color`, solid fill: for the needle-zone wipe.
  void Solid_Pen(int32_t color);
  void Stroke(float x1, float y1, float x2, float y2, int32_t color);
  Context& ctx_;
  Surface& panel_;
  NeedleStrokes strokes_;
};

}  // namespace zk
