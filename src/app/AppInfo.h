#pragma once
// The program's name, version and maker as the splash and the About box show them.
#include <string>

namespace zk {

constexpr int kVersionMajor = 1, kVersionMinor = 0, kVersionRevision = 0;

inline std::string AppTitle() { return "zk3 Zodovaz"; }
inline std::string VersionNumberText() {
  return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionRevision);
}
inline std::string MakerName() { return "Vantorel"; }
inline std::string MakerNotice() { return "Copyright (C) Vantorel. All rights reserved."; }
inline std::string MakerWebAddress() { return "www.vantorel.example"; }

}  // namespace zk
