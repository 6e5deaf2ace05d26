#include "app/MenuCommands.h"

#include "display/DerivedColors.h"

namespace zk {

void Check_Only(Controls& c, std::string_view name, int lo, int hi, int index) {
  for (int i = lo; i <= hi; ++i) c.SetChecked(name, i, false);
  c.SetChecked(name, index, true);
}

bool MenuCommands::Pick(int32_t& setting) {
  const auto chosen = ctx_.prompts.ChooseColor(dialogColor_);
  if (!chosen) return false;
  dialogColor_ = *chosen;
  setting = *chosen;
  return true;
}

void MenuCommands::mnuSetColPanel_Click() {
  if (!Pick(ctx_.settings.Panel_Color)) return;
  Calc_DimTextColor(ctx_);
  ctx_.view.Draw_Panel();
}

void MenuCommands::mnuSetColDial_Click() {
  if (!Pick(ctx_.settings.Dial_Color)) return;
  Calc_ShadowNeedleColor(ctx_);
  Calc_FaintNeedleColor(ctx_);
  ctx_.view.Draw_Panel();
}

void MenuCommands::mnuSetColNeedleMain_Click() {
  if (!Pick(ctx_.settings.MainNeedle_Color)) return;
  ctx_.view.Draw_Panel();
  Calc_ShadowNeedleColor(ctx_);
  Calc_FaintNeedleColor(ctx_);
}

void MenuCommands::mnuSetColNeedleBm_Click() {
  if (Pick(ctx_.settings.FreezeNeedle_Color)) ctx_.view.Draw_Panel();
}

void MenuCommands::mnuSetColScale_Click() {
  if (Pick(ctx_.settings.Scale_Color)) ctx_.view.Draw_Panel();
}

// The lamp takes its colour at its next change.
void MenuCommands::mnuSetColAlertSet_Click() { Pick(ctx_.settings.LED_Set_Color); }
void MenuCommands::mnuSetColAlertBM_Click() { Pick(ctx_.settings.LED_BM_Color); }
void MenuCommands::mnuSetColAlertLag_Click() { Pick(ctx_.settings.LED_Lag_Color); }

void MenuCommands::mnuSetColText_Click() {
  if (!Pick(ctx_.settings.Text_Color)) return;
  targets_.SetKnobColors(ctx_.settings.Text_Color);
  Calc_DimTextColor(ctx_);
  ctx_.view.Draw_Panel();
}

void MenuCommands::mnuSetColorGraphPen_Click() {
  dialogColor_ = ctx_.settings.GraphPen_Color;
  Pick(ctx_.settings.GraphPen_Color);
}

void MenuCommands::mnuSetColorGraphSheet_Click() {
  if (Pick(ctx_.settings.GraphSheet_Color)) targets_.SetGraphBackColor(ctx_.settings.GraphSheet_Color);
}

void MenuCommands::mnuSetColorGraphGrid_Click() { Pick(ctx_.settings.GraphGrid_Color); }

void MenuCommands::mnuSetColBackground_Click() {
  if (!Pick(ctx_.settings.Background_Color)) return;
  targets_.SetWindowBackColor(ctx_.settings.Background_Color);
  ctx_.shell.Form_Resize();
}

void MenuCommands::mnuSettingsColorsDefault_Click() {
  Set_Default_Colors(ctx_.settings);
  ctx_.view.Draw_Panel();
}

void MenuCommands::mnuSetColNeedleShadow_Index_Click(int index) {
  Check_Only(ctx_.controls, "mnuSetColNeedleShadow_Index", 0, 5, index);
  ctx_.settings.ShadowNeedleColor_Index = static_cast<int16_t>(index);
  Calc_ShadowNeedleColor(ctx_);
}

void MenuCommands::mnuSettingsNeedleWidth_Click(int index) {
  Check_Only(ctx_.controls, "mnuSettingsNeedleWidth", 0, 8, index);
  ctx_.settings.Needle_Width = static_cast<int16_t>(index);
  ctx_.shell.Form_Resize();
}

void MenuCommands::Show_AutoSave(int32_t mode) {
  Controls& c = ctx_.controls;
  c.SetChecked("mnuSettingsAutoSaveOff", mode == 0);
  c.SetChecked("mnuSettingsAutoSaveOn", mode == 1);
  c.SetChecked("mnuSettingsAutoSavePrompt", mode == 2);
}

void MenuCommands::mnuSettingsAutoSaveOff_Click() {
  ctx_.settings.SettingsAutoSave = 0;
  Show_AutoSave(0);
}

void MenuCommands::mnuSettingsAutoSaveOn_Click() {
  ctx_.settings.SettingsAutoSave = 1;
  Show_AutoSave(1);
}

void MenuCommands::mnuSettingsAutoSavePrompt_Click() {
  ctx_.settings.SettingsAutoSave = 2;
  Show_AutoSave(2);
}

}  // namespace zk
