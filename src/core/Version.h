#pragma once
// The product's name and version, shared by the window and the tools.
#include <string>

namespace zk {

constexpr int kVersionMajor = 1, kVersionMinor = 0, kVersionRevision = 0;

inline std::string AppTitle() { return "zk3 Zodovaz"; }
inline std::string VersionNumberText() {
  return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionRevision);
}

}  // namespace zk
