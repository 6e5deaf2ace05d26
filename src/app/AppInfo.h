#pragma once
// The program's name, version and maker as the splash and the About box show them.
#include <string>

#include "base/Version.h"

namespace zk {

inline std::string MakerName() { return "Vantorel"; }
inline std::string MakerNotice() { return "Copyright (C) the zk3 Zodovaz developers. Released under the MIT licence."; }
inline std::string MakerWebAddress() { return "www.vantorel.example"; }

}  // namespace zk
