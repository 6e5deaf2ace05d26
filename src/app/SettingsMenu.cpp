#include "app/SettingsMenu.h"

#include "core/MenuTicks.h"
#include "display/DerivedColors.h"

namespace zk {

void SettingsMenu::Register_Commands(CommandTable& commands) {
  const std::pair<const char*, void (SettingsMenu::*)()> items[] = {
      {"mnuSetColPanel", &SettingsMenu::mnuSetColPanel_Click},
      {"mnuSetColDial", &SettingsMenu::mnuSetColDial_Click},
      {"mnuSetColNeedleMain", &SettingsMenu::mnuSetColNeedleMain_Click},
      {"mnuSetColNeedleBm", &SettingsMenu::mnuSetColNeedleBm_Click},
      {"mnuSetColScale", &SettingsMenu::mnuSetColScale_Click},
      {"mnuSetColAlertSet", &SettingsMenu::mnuSetColAlertSet_Click},
      {"mnuSetColAlertBM", &SettingsMenu::mnuSetColAlertBM_Click},
      {"mnuSetColAlertLag", &SettingsMenu::mnuSetColAlertLag_Click},
      {"mnuSetColText", &SettingsMenu::mnuSetColText_Click},
      {"mnuSetColorGraphPen", &SettingsMenu::mnuSetColorGraphPen_Click},
      {"mnuSetColorGraphSheet", &SettingsMenu::mnuSetColorGraphSheet_Click},
      {"mnuSetColorGraphGrid", &SettingsMenu::mnuSetColorGraphGrid_Click},
      {"mnuSetColBackground", &SettingsMenu::mnuSetColBackground_Click},
      {"mnuSettingsColorsDefault", &SettingsMenu::mnuSettingsColorsDefault_Click},
      {"mnuSettingsAutoSaveOn", &SettingsMenu::mnuSettingsAutoSaveOn_Click},
      {"mnuSettingsAutoSavePrompt", &SettingsMenu::mnuSettingsAutoSavePrompt_Click},
      {"mnuSettingsAutoSaveOff", &SettingsMenu::mnuSettingsAutoSaveOff_Click},
  };
  // Captured by copy from the pair: clang before 16 cannot capture a structured binding.
  for (const auto& item : items) commands.Add(item.first, [this, click = item.second] { (this->*click)(); });
  commands.AddIndexed("mnuSetColNeedleShadow_Index", [this](int i) { mnuSetColNeedleShadow_Index_Click(i); });
  commands.AddIndexed("mnuSettingsNeedleWidth", [this](int i) { mnuSettingsNeedleWidth_Click(i); });
}

bool SettingsMenu::Pick(int32_t& setting) {
  const auto chosen = ctx_.prompts.ChooseColor(dialogColor_);
  if (!chosen) return false;
  dialogColor_ = *chosen;
  setting = *chosen;
  return true;
}

void SettingsMenu::mnuSetColPanel_Click() {
  if (!Pick(ctx_.settings.Panel_Color)) return;
  Calc_DimTextColor(ctx_);
  ctx_.view.Draw_Panel();
}

void SettingsMenu::mnuSetColDial_Click() {
  if (!Pick(ctx_.settings.Dial_Color)) return;
  Calc_ShadowNeedleColor(ctx_);
  Calc_FaintNeedleColor(ctx_);
  ctx_.view.Draw_Panel();
}

void SettingsMenu::mnuSetColNeedleMain_Click() {
  if (!Pick(ctx_.settings.MainNeedle_Color)) return;
  ctx_.view.Draw_Panel();
  Calc_ShadowNeedleColor(ctx_);
  Calc_FaintNeedleColor(ctx_);
}

void SettingsMenu::mnuSetColNeedleBm_Click() {
  if (Pick(ctx_.settings.FreezeNeedle_Color)) ctx_.view.Draw_Panel();
}

void SettingsMenu::mnuSetColScale_Click() {
  if (Pick(ctx_.settings.Scale_Color)) ctx_.view.Draw_Panel();
}

// The lamp takes its colour at its next change.
void SettingsMenu::mnuSetColAlertSet_Click() { Pick(ctx_.settings.LED_Set_Color); }
void SettingsMenu::mnuSetColAlertBM_Click() { Pick(ctx_.settings.LED_BM_Color); }
void SettingsMenu::mnuSetColAlertLag_Click() { Pick(ctx_.settings.LED_Lag_Color); }

void SettingsMenu::mnuSetColText_Click() {
  if (!Pick(ctx_.settings.Text_Color)) return;
  targets_.SetKnobColors(ctx_.settings.Text_Color);
  Calc_DimTextColor(ctx_);
  ctx_.view.Draw_Panel();
}

void SettingsMenu::mnuSetColorGraphPen_Click() {
  dialogColor_ = ctx_.settings.GraphPen_Color;
  Pick(ctx_.settings.GraphPen_Color);
}

void SettingsMenu::mnuSetColorGraphSheet_Click() {
  if (Pick(ctx_.settings.GraphSheet_Color)) targets_.SetGraphBackColor(ctx_.settings.GraphSheet_Color);
}

void SettingsMenu::mnuSetColorGraphGrid_Click() { Pick(ctx_.settings.GraphGrid_Color); }

void SettingsMenu::mnuSetColBackground_Click() {
  if (!Pick(ctx_.settings.Background_Color)) return;
  targets_.SetWindowBackColor(ctx_.settings.Background_Color);
  ctx_.shell.Form_Resize();
}

void SettingsMenu::mnuSettingsColorsDefault_Click() {
  Set_Default_Colors(ctx_.settings);
  ctx_.view.Draw_Panel();
}

void SettingsMenu::mnuSetColNeedleShadow_Index_Click(int index) {
  Tick_One(ctx_.controls, "mnuSetColNeedleShadow_Index", 0, 5, index);
  ctx_.settings.ShadowNeedleColor_Index = static_cast<int16_t>(index);
  Calc_ShadowNeedleColor(ctx_);
}

void SettingsMenu::mnuSettingsNeedleWidth_Click(int index) {
  Tick_One(ctx_.controls, "mnuSettingsNeedleWidth", 0, 8, index);
  ctx_.settings.Needle_Width = static_cast<int16_t>(index);
  ctx_.shell.Form_Resize();
}

void SettingsMenu::Show_AutoSave(int32_t mode) {
  Controls& c = ctx_.controls;
  c.SetChecked("mnuSettingsAutoSaveOff", mode == AutoSaveOff);
  c.SetChecked("mnuSettingsAutoSaveOn", mode == AutoSaveOn);
  c.SetChecked("mnuSettingsAutoSavePrompt", mode == AutoSavePrompt);
}

void SettingsMenu::mnuSettingsAutoSaveOff_Click() {
  ctx_.settings.SettingsAutoSave = AutoSaveOff;
  Show_AutoSave(AutoSaveOff);
}

void SettingsMenu::mnuSettingsAutoSaveOn_Click() {
  ctx_.settings.SettingsAutoSave = AutoSaveOn;
  Show_AutoSave(AutoSaveOn);
}

void SettingsMenu::mnuSettingsAutoSavePrompt_Click() {
  ctx_.settings.SettingsAutoSave = AutoSavePrompt;
  Show_AutoSave(AutoSavePrompt);
}

}  // namespace zk
