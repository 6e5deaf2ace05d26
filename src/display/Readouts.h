#pragma once
// The base readout at the top of picMeterPanel, the BD counter on picBD and the indicator
// lamp on the dial.
#include <cstdint>
#include <string>

#include "core/Context.h"
#include "display/Surface.h"

namespace zk {

class Readouts {
 public:
  Readouts(Context& ctx, Surface& panel, Surface& bd);

  // Large bold base value on the side opposite the clock; the left edge stays where "0.00"
  // would be centred.
  void Update_BaseDisplay(const std::string& text);
  // BD counter in the text colour while counting, dimmed while not.
  void Update_BdDisplay(const std::string& text);
  // Lamp dot over the SET mark (traditional) or on the hub (circular); stores LedColor.
  void Update_LED(int32_t color);

 private:
  Context& ctx_;
  Surface& panel_;
  Surface& bd_;
  std::string shownBase_;  // the base text on the panel, wiped before the next one
};

}  // namespace zk
