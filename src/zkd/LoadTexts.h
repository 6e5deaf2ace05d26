#pragma once
// The texts that tell why a recording could not be loaded; the window and the inspector
// say the same.
#include <string>

namespace zk {

inline constexpr const char* BadFormatText = "This file is corrupt or needs to be converted to version 2 format.";

// "The <kind> file could not be loaded for the following reason(s): \n<n>: '<text>'"
std::string CouldNotLoadText(const std::string& kind, int number, const std::string& description);

}  // namespace zk
