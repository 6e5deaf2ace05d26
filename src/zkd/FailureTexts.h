#pragma once
// The texts that tell why a recording could not be loaded or saved. The window and the
// inspector say the same, and each text is written once, here.
#include <string>

namespace zk {

inline constexpr const char* BadFormatText = "This file is corrupt or needs to be converted to version 2 format.";

// The title of the message about a new recording that could not be saved.
inline constexpr const char* SaveRecordingTitle = "Save Recording";

// "The <kind> file could not be loaded for the following reason(s): \n<n>: '<text>'"
std::string CouldNotLoadText(const std::string& kind, int number, const std::string& description);

// "The file could not be <done> for the following reason(s): \n<n>: '<text>'", for the
// load dialog ("loaded") and a copy of the recording in memory ("saved").
std::string FileFailureText(const std::string& done, int number, const std::string& description);

// A new recording that could not be written to `path` for `reason`: it stays in memory, to
// be saved elsewhere.
std::string RecordingNotSavedText(const std::string& path, const std::string& reason);

}  // namespace zk
