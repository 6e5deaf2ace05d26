#include "meter/Alerts.h"

#include <array>

#include "core/Banner.h"
#include "core/ControlNames.h"
#include "core/MenuTicks.h"

namespace zk {

namespace {

// A stored index outside its menu (a hand-edited settings file) falls back to the
// menu's default item, so the menu always shows one tick and the value stays usable.
int Valid_Index(int index, int count, int fallback) { return index >= 1 && index <= count ? index : fallback; }

constexpr std::array<int32_t, 4> BodyMotionLimits{0, 30, 50, 100};  // by menu index 1..3

}  // namespace

Alerts::Alerts(Context& ctx) : ctx_(ctx) {}

void Alerts::Connect_Timers() {
  ctx_.timers.tmrLED.SetHandler([this] { tmrLED_Timer(); });
  ctx_.timers.tmrFall.SetHandler([this] { tmrFall_Timer(); });
  ctx_.timers.tmrRise.SetHandler([this] { tmrRise_Timer(); });
}

void Alerts::Register_Commands(CommandTable& commands) {
  commands.AddIndexed(ctl::mnuSettingsBodyMotionThreshold, [this](int i) { mnuSettingsBodyMotionThreshold_Click(i); });
  commands.Add(ctl::mnuSetBmFreezeOn, [this] { mnuSetBmFreezeOn_Click(); });
  commands.Add(ctl::mnuSetBmFreezeOff, [this] { mnuSetBmFreezeOff_Click(); });
  commands.AddIndexed(ctl::mnuSettingsLagThreshold, [this](int i) { mnuSettingsLagThreshold_Click(i); });
  commands.AddIndexed(ctl::mnuSettingsExtSwMode, [this](int i) { mnuSettingsExtSwMode_Click(i); });
  commands.Add(ctl::mnuSetNeedleBDOn, [this] { mnuSetNeedleBDOn_Click(); });
  commands.Add(ctl::mnuSetNeedleBDOff, [this] { mnuSetNeedleBDOff_Click(); });
}

void Alerts::tmrLED_Timer() {
  ctx_.timers.tmrLED.Stop();
  ctx_.view.Update_LED(ctx_.settings.Dial_Color);
}

void Alerts::tmrFall_Timer() {
  ctx_.timers.tmrFall.Stop();
  ctx_.state.NeedleSetRequest = true;
}

void Alerts::tmrRise_Timer() {
  ctx_.timers.tmrRise.Stop();
  ctx_.state.NeedleSetRequest = true;
}

void Alerts::mnuSettingsBodyMotionThreshold_Click(int index) {
  index = Valid_Index(index, 3, 2);
  Tick_One(ctx_.controls, ctl::mnuSettingsBodyMotionThreshold, 1, 3, index);
  ctx_.settings.BM_Threshold_Index = static_cast<int16_t>(index);
  ctx_.state.BodyMotionLimit = BodyMotionLimits[index];
}

void Alerts::Set_Freeze(bool on) {
  ctx_.settings.FreezeEnable = on;
  Tick_Pair(ctx_.controls, ctl::mnuSetBmFreezeOn, ctl::mnuSetBmFreezeOff, on);
}

void Alerts::mnuSetBmFreezeOn_Click() { Set_Freeze(true); }
void Alerts::mnuSetBmFreezeOff_Click() { Set_Freeze(false); }

void Alerts::mnuSettingsLagThreshold_Click(int index) {
  index = Valid_Index(index, 5, 2);
  Tick_One(ctx_.controls, ctl::mnuSettingsLagThreshold, 1, 5, index);
  ctx_.settings.DataLag_Index = static_cast<int16_t>(index);
  ctx_.state.LagMessages = static_cast<int16_t>(index);  // "1/50 sec" .. "4/50 sec", "1/10 sec" = 5
}

void Alerts::mnuSettingsExtSwMode_Click(int index) {
  index = Valid_Index(index, 2, 1);
  Tick_One(ctx_.controls, ctl::mnuSettingsExtSwMode, 1, 2, index);
  ctx_.settings.SwitchMode_Index = static_cast<int16_t>(index);
  ctx_.controls.SetVisible(ctl::lblTag, index == 2);
}

void Alerts::mnuSetNeedleBDOn_Click() {
  ctx_.settings.NeedleBdEnable = true;
  Tick_Pair(ctx_.controls, ctl::mnuSetNeedleBDOn, ctl::mnuSetNeedleBDOff, true);
}

void Alerts::mnuSetNeedleBDOff_Click() {
  ctx_.settings.NeedleBdEnable = false;
  Tick_Pair(ctx_.controls, ctl::mnuSetNeedleBDOn, ctl::mnuSetNeedleBDOff, false);
}

void Alerts::Toggle_Freeze() {
  const bool on = !ctx_.settings.FreezeEnable;
  Set_Freeze(on);
  Show_Message(ctx_, on ? "Freeze ON" : "Freeze OFF");
}

}  // namespace zk
