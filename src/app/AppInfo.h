#pragma once
// The program's name, version and maker as the splash and the About box show them.
#include <string>

#include "core/Version.h"

namespace zk {

inline std::string MakerName() { return "Vantorel"; }
inline std::string MakerNotice() { return "Copyright (C) Vantorel. All rights reserved."; }
inline std::string MakerWebAddress() { return "www.vantorel.example"; }

}  // namespace zk
