#pragma once
// The mode banner on picMeterPanel: the status line and, while recording or playing
// without sound, "Audio OFF" beneath it. Not redrawn while a short message is showing.
#include <string>

#include "core/Context.h"
#include "display/Surface.h"

namespace zk {

class ModeBanner {
 public:
  ModeBanner(Context& ctx, Surface& panel);
  void Update_ModeDisplay();

 private:
  void Print_Centred(const std::string& text, double x, double y);
  Context& ctx_;
  Surface& panel_;
};

}  // namespace zk
