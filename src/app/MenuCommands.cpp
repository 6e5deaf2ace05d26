#include "app/MenuCommands.h"

#include "core/MenuTicks.h"
#include "display/DerivedColors.h"

namespace zk {

void MenuCommands::Register_Commands(CommandTable& commands) {
  const std::pair<const char*, void (MenuCommands::*)()> items[] = {
      {"mnuSetColPanel", &MenuCommands::mnuSetColPanel_Click},
      {"mnuSetColDial", &MenuCommands::mnuSetColDial_Click},
      {"mnuSetColNeedleMain", &MenuCommands::mnuSetColNeedleMain_Click},
      {"mnuSetColNeedleBm", &MenuCommands::mnuSetColNeedleBm_Click},
      {"mnuSetColScale", &MenuCommands::mnuSetColScale_Click},
      {"mnuSetColAlertSet", &MenuCommands::mnuSetColAlertSet_Click},
      {"mnuSetColAlertBM", &MenuCommands::mnuSetColAlertBM_Click},
      {"mnuSetColAlertLag", &MenuCommands::mnuSetColAlertLag_Click},
      {"mnuSetColText", &MenuCommands::mnuSetColText_Click},
      {"mnuSetColorGraphPen", &MenuCommands::mnuSetColorGraphPen_Click},
      {"mnuSetColorGraphSheet", &MenuCommands::mnuSetColorGraphSheet_Click},
      {"mnuSetColorGraphGrid", &MenuCommands::mnuSetColorGraphGrid_Click},
      {"mnuSetColBackground", &MenuCommands::mnuSetColBackground_Click},
      {"mnuSettingsColorsDefault", &MenuCommands::mnuSettingsColorsDefault_Click},
      {"mnuSettingsAutoSaveOn", &MenuCommands::mnuSettingsAutoSaveOn_Click},
      {"mnuSettingsAutoSavePrompt", &MenuCommands::mnuSettingsAutoSavePrompt_Click},
      {"mnuSettingsAutoSaveOff", &MenuCommands::mnuSettingsAutoSaveOff_Click},
  };
  // Captured by copy from the pair: clang before 16 cannot capture a structured binding.
  for (const auto& item : items) commands.Add(item.first, [this, click = item.second] { (this->*click)(); });
  commands.AddIndexed("mnuSetColNeedleShadow_Index", [this](int i) { mnuSetColNeedleShadow_Index_Click(i); });
  commands.AddIndexed("mnuSettingsNeedleWidth", [this](int i) { mnuSettingsNeedleWidth_Click(i); });
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
  Tick_One(ctx_.controls, "mnuSetColNeedleShadow_Index", 0, 5, index);
  ctx_.settings.ShadowNeedleColor_Index = static_cast<int16_t>(index);
  Calc_ShadowNeedleColor(ctx_);
}

void MenuCommands::mnuSettingsNeedleWidth_Click(int index) {
  Tick_One(ctx_.controls, "mnuSettingsNeedleWidth", 0, 8, index);
  ctx_.settings.Needle_Width = static_cast<int16_t>(index);
  ctx_.shell.Form_Resize();
}

void MenuCommands::Show_AutoSave(int32_t mode) {
  Controls& c = ctx_.controls;
  c.SetChecked("mnuSettingsAutoSaveOff", mode == AutoSaveOff);
  c.SetChecked("mnuSettingsAutoSaveOn", mode == AutoSaveOn);
  c.SetChecked("mnuSettingsAutoSavePrompt", mode == AutoSavePrompt);
}

void MenuCommands::mnuSettingsAutoSaveOff_Click() {
  ctx_.settings.SettingsAutoSave = AutoSaveOff;
  Show_AutoSave(AutoSaveOff);
}

void MenuCommands::mnuSettingsAutoSaveOn_Click() {
  ctx_.settings.SettingsAutoSave = AutoSaveOn;
  Show_AutoSave(AutoSaveOn);
}

void MenuCommands::mnuSettingsAutoSavePrompt_Click() {
  ctx_.settings.SettingsAutoSave = AutoSavePrompt;
  Show_AutoSave(AutoSavePrompt);
}

}  // namespace zk
