#include "app/FileMenuSettings.h"

#include "core/SettingsFile.h"
#include "core/UnsavedRecording.h"

namespace zk {

namespace {

// The session file keeps the settings file's path between double quotes, with no way to
// write a quote inside it: such a name would be lost at the next start. Refused here,
// with the reason, before anything changes.
bool StorableSettingsPath(Context& ctx, const std::string& path, const char* title) {
  if (path.find('"') == std::string::npos) return true;
  ctx.prompts.MsgBox(QuoteInSettingsPathText, title, MsgButtons::OK, MsgIcon::Warning);
  return false;
}

}  // namespace

void mnuLoadSettings_Click(Context& ctx) {
  // Another settings file may change how the recording running now is timed (its sound
  // on or off): it waits for the stop. A recording in memory stays as it is.
  if (!Recording_Not_Running(ctx)) return;
  FileDialogRequest req;
  req.filter = SettingsFileFilter;
  req.fileName = ctx.settings.SettingsFilePath;
  req.title = "Load Settings File";
  auto chosen = ctx.prompts.OpenFile(req);
  if (!chosen || !StorableSettingsPath(ctx, *chosen, "Load Settings File")) return;
  ctx.settings.SettingsFilePath = *chosen;
  Load_Settings(ctx);
  ctx.shell.Apply_Settings_To_Menus();
  ctx.shell.Form_Resize();
}

void mnuSaveSettings_Click(Context& ctx) { Save_Settings(ctx); }

void mnuSaveSettingsAs_Click(Context& ctx) {
  FileDialogRequest req;
  req.fileName = ctx.settings.SettingsFilePath;
  req.filter = SettingsFileFilter;
  req.flags = 1026;  // ask before overwriting
  req.title = "Save Settings As";
  auto chosen = ctx.prompts.SaveFile(req);
  if (!chosen || !StorableSettingsPath(ctx, *chosen, "Save Settings As")) return;
  ctx.settings.SettingsFilePath = *chosen;
  // The chosen file is replaced as a whole in one step rather than deleted first, so a
  // failed write leaves the old file instead of nothing.
  Save_Settings_Replacing(ctx);
}

void Register_Settings_Commands(CommandTable& commands, Context& ctx) {
  commands.Add("mnuLoadSettings", [&ctx] { mnuLoadSettings_Click(ctx); });
  commands.Add("mnuSaveSettings", [&ctx] { mnuSaveSettings_Click(ctx); });
  commands.Add("mnuSaveSettingsAs", [&ctx] { mnuSaveSettingsAs_Click(ctx); });
}

}  // namespace zk
