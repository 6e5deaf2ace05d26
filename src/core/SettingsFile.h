#pragma once
// The settings file: filling the settings record from it, writing it back, and telling
// whether the record still matches what the file holds.
#include <string>

#include "core/Context.h"

namespace zk {

// Name of the default settings file in the program folder.
inline constexpr const char* DefaultSettingsFileName = "zk3_Zodovaz.ini";
std::string DefaultSettingsFilePath(const Context& ctx);

// One value from an INI file; the default when the file, section or key is missing.
// Values are cut to 254 characters.
std::string Read_Ini_Value(const std::string& section, const std::string& key, const std::string& defaultText,
                           const std::string& path);
// Writes one value, creating the file, section or key as needed. Failures are ignored.
void Write_Ini_Value(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path);

// Fills every settings field from SettingsFilePath. When that names no existing file,
// SettingsFilePath becomes the default file in the program folder first. A stored value
// that does not convert to its field's type leaves that field as it was.
void Load_Settings(Context& ctx);
// Writes the sections Colors, Format, Settings and Graph into SettingsFilePath; other
// sections and keys in the file are kept.
void Save_Settings(Context& ctx);
// As Save_Settings, but the file is replaced entirely: afterwards it holds only those four
// sections ("Save Settings As" onto an existing file).
void Save_Settings_Replacing(Context& ctx);
// Writes the section Recording into SettingsFilePath.
void Save_Recording_Settings(Context& ctx);
// Writes the section Recording but for the series number, at once: what the recording
// setup changes outlives a crash. The number moves only by a reset or a save.
void Save_Recording_Choices(Context& ctx);
// Writes one key of the section Recording into SettingsFilePath at once (the next series
// number as soon as a save used one, so that a crash does not hand that number out again).
void Save_Recording_Key(Context& ctx, const std::string& key);
// Writes the next series number (SuffixNum) at once, never lower than the file holds:
// another copy of the program saving into the same folder may have gone further
// meanwhile, and its number is then this copy's next one too.
void Save_Next_Series_Number(Context& ctx);
// True when every key of Colors, Format, Settings and Graph, as stored (or defaulted),
// equals the field in the record. Values that do not convert count as unchanged.
bool Settings_Unchanged(Context& ctx);

}  // namespace zk
