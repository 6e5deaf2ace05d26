#pragma once
// The Settings menu's own commands: the colours (each dialog opens at the colour last
// picked, except "Pen", which opens at the pen colour), needle shadow and width, and the
// autosave mode.
#include <cstdint>
#include <string_view>

#include "core/CommandTable.h"
#include "core/Context.h"

namespace zk {

// Surfaces outside the meter panel that take a colour directly.
class ColourTargets {
 public:
  virtual ~ColourTargets() = default;
  virtual void SetKnobColors(int32_t color) = 0;      // picKnob fore and fill colour
  virtual void SetGraphBackColor(int32_t color) = 0;  // picGraph
  virtual void SetWindowBackColor(int32_t color) = 0;
};

class SettingsMenu {
 public:
  SettingsMenu(Context& ctx, ColourTargets& targets) : ctx_(ctx), targets_(targets) {}

  void mnuSetColPanel_Click();
  void mnuSetColDial_Click();
  void mnuSetColNeedleMain_Click();
  void mnuSetColNeedleBm_Click();
  void mnuSetColScale_Click();
  void mnuSetColAlertSet_Click();
  void mnuSetColAlertBM_Click();
  void mnuSetColAlertLag_Click();
  void mnuSetColText_Click();
  void mnuSetColorGraphPen_Click();
  void mnuSetColorGraphSheet_Click();
  void mnuSetColorGraphGrid_Click();
  void mnuSetColBackground_Click();
  void mnuSettingsColorsDefault_Click();

  void mnuSetColNeedleShadow_Index_Click(int index);
  void mnuSettingsNeedleWidth_Click(int index);

  void mnuSettingsAutoSaveOff_Click();
  void mnuSettingsAutoSaveOn_Click();
  void mnuSettingsAutoSavePrompt_Click();
  // The autosave item for a value; any value but 0..2 leaves all three unticked.
  void Show_AutoSave(int32_t mode);

  // The colour, needle and autosave items of the Settings menu.
  void Register_Commands(CommandTable& commands);

 private:
  // Shows the colour dialog at its current colour; false on cancel. The choice becomes
  // the dialog's colour for the next time.
  bool Pick(int32_t& setting);
  Context& ctx_;
  ColourTargets& targets_;
  int32_t dialogColor_ = 0;  // the colour dialog's Color: black until something is picked
};

}  // namespace zk
