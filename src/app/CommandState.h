#pragma once
// Which transport buttons and labels of the record panel are shown, enabled and how
// they are pictured, for the operating mode and the state of the recording in memory.
#include "core/Context.h"

namespace zk {

void Update_Command_State(Context& ctx);

}  // namespace zk
