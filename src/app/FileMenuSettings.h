#pragma once
// The File menu's settings commands: load another settings file, save, save under a new
// name. They ask through ctx.prompts; a cancelled dialog, or a chosen name containing a
// double quote (refused with a message), changes nothing.
#include "core/CommandTable.h"
#include "core/Context.h"

namespace zk {

inline constexpr const char* SettingsFileFilter = "ini file (*.ini)|*.ini";
inline constexpr const char* QuoteInSettingsPathText =
    "A settings file name may not contain a double quote (\"). Please choose another name.";

// "&Load Settings": choose a file, load it, then apply it to the menus and the layout.
void mnuLoadSettings_Click(Context& ctx);
// "Save Settings": the four settings sections into SettingsFilePath (not Recording).
void mnuSaveSettings_Click(Context& ctx);
// "Save Settings &As": choose a file; it is replaced by the four settings sections and
// becomes SettingsFilePath.
void mnuSaveSettingsAs_Click(Context& ctx);

// The three items above in the window's command table.
void Register_Settings_Commands(CommandTable& commands, Context& ctx);

}  // namespace zk
