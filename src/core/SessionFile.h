#pragma once
// The session file "zk3_Zodovaz.cfg" in the program folder: the settings file in use,
// the autosave mode, the serial port, the sensitivity step and the window placement.
#include <cstdint>
#include <string>

#include "core/Context.h"

namespace zk {

inline constexpr const char* SessionFileName = "zk3_Zodovaz.cfg";
std::string SessionFilePath(const Context& ctx);

// The main window's placement at the moment the session file is written.
struct WindowPlacement {
  float left = 0;     // twips
  float top = 0;      // twips
  float width = 0;    // twips
  int16_t state = 0;  // 0 normal, 1 minimised, 2 maximised
};

// Puts the eight session values to their first-run defaults. The window's left and width
// are a quarter and a half of the screen width (twips).
void Set_Default_Session_Values(Context& ctx, int screenWidthTwips);

// Reads the eight session values. On any failure (no file, too few values, a value that
// does not convert or does not fit) all eight take their defaults and the answer is false.
bool Read_Session_File(Context& ctx, int screenWidthTwips);

// Writes SettingsFilePath, SettingsAutoSave, CommPort, SensitivityIndex and the given
// placement, one value a line with CR LF line ends, replacing the file atomically. On a
// failure shows "Error Saving Session Config File" and answers false; unattended (the
// system is ending the program and nobody may be there to answer a box) the failure goes
// to the standard error instead.
bool Write_Session_File(Context& ctx, const WindowPlacement& window, bool unattended = false);

}  // namespace zk
