#pragma once
// The product's name and version, shared by the window and the tools.
#include <string>

namespace zk {

constexpr int VersionMajor = 1, VersionMinor = 0, VersionRevision = 0;

// The title of the window and of every message box that has none of its own.
inline constexpr const char* ProgramTitle = "zk3 Zodovaz";

inline std::string VersionNumberText() {
  return std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) + "." + std::to_string(VersionRevision);
}

}  // namespace zk
