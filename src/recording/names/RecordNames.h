#pragma once
// Names and paths of recordings, worked out from text alone: the automatic base name of a
// new recording (prefix and a three-digit number or the date and time), the recording
// mode's caption, the pieces of a path the file dialogs hand back, and the numbered series
// (name001, name002 ...) a name belongs to. Nothing here touches the disk or a control.
#include <cstdint>
#include <string>

#include "base/Clock.h"
#include "core/Settings.h"

namespace zk {

// The text after SavePrefix in automatic names, as the mode label's tool tip shows it:
// "nnn" for the numeric suffix, "Date__Time" otherwise.
std::string RecordNameSuffixText(const Settings& s);

// The base name of a new recording: SavePrefix followed by SuffixNum as three digits
// ("Run_007"), or with the date/time suffix by `now` as "yy-mm-dd__Hh.Nn.Ss"
// ("Run_26-12-08__09.05.03").
std::string New_RecordName(const Settings& s, const DateTime& now);

// What the user is told of a prefix that cannot begin a file name in the save folder.
inline constexpr const char* InvalidPrefixText = "Error: Invalid Prefix name ";
inline constexpr const char* InvalidPrefixTitle = "Validate Filename";

// True when `prefix` can begin the name of a file in the save folder: no "/" (which would
// put the file elsewhere), not "." or "..", no control character, and the longest name of
// the series ("000.zkd" after the prefix) fits a file name.
bool Prefix_Fits_File_Name(const std::string& prefix);

// The path of `name` in `folder`, with or without the folder's trailing "/"; the name
// alone for no folder.
std::string Path_In(const std::string& folder, const std::string& name);

// lblRecordMode's caption for a RecordingMode ("Manual", "Auto Name", "Auto Save",
// "Capture"); nullptr for any other value.
const char* RecordingModeCaption(int32_t mode);

// The folder part of a path, up to and including its last "/" (empty without one).
std::string Folder_Of(const std::string& path);
// The name after the folder part.
std::string Name_Of(const std::string& path);
// A recording's base path from a name chosen in a file dialog: without its ".zkd" (any
// letter case); a name chosen without that ending is taken whole, so that the loader
// reports the file it looked for.
std::string Base_Path_Of(const std::string& chosen);

// The number at the end of a series name ("take007" gives 7); 0 when the name does not
// end in three digits or they make 0.
int Series_Number(const std::string& basePath);
// True when `fileName` is `prefix` followed by exactly three digits and `ext` (".zkd").
bool Is_Series_File(const std::string& fileName, const std::string& prefix, const std::string& ext);

}  // namespace zk
