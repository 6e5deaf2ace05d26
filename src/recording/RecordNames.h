#pragma once
// Names of new recordings: the automatic base name (prefix and a three-digit number or the
// date and time), the recording-mode label that shows where automatic names go, and the
// path pieces the save dialogs hand back.
#include <string>

#include "core/Clock.h"
#include "core/Context.h"

namespace zk {

// The text after SavePrefix in automatic names, as the mode label's tool tip shows it:
// "nnn" for the numeric suffix, "Date__Time" otherwise.
std::string RecordNameSuffixText(const Settings& s);

// The base name of a new recording: SavePrefix followed by SuffixNum as three digits
// ("Run_007"), or with the date/time suffix by `now` as "yy-mm-dd__Hh.Nn.Ss"
// ("Run_26-12-08__09.05.03").
std::string New_RecordName(const Settings& s, const DateTime& now);

// lblRecordMode's caption for a RecordingMode ("Manual", "Auto Name", "Auto Save",
// "Capture"); nullptr for any other value.
const char* RecordingModeCaption(int32_t mode);

// lblRecordMode's caption and tool tip for RecordingMode; a SavePath whose folder does not
// exist is forgotten first. Other mode values leave the label as it is.
void Update_RecordModeLabel(Context& ctx);

// The folder part of a path, up to and including its last "/" (empty without one).
std::string Folder_Of(const std::string& path);
// The name after the folder part.
std::string Name_Of(const std::string& path);
// A recording's base path from a name chosen in a save dialog: without its ".zkd" (any
// letter case); a name chosen without that ending is taken whole.
std::string Base_Path_Of(const std::string& chosen);

}  // namespace zk
