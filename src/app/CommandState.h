#pragma once
// Which transport buttons and labels of the record panel are shown, enabled and how
// they are pictured, for the operating mode and the state of the recording in memory.
#include "core/Context.h"

namespace zk {

void Update_Command_State(Context& ctx);

// lblRecordMode's caption and tooltip for RecordingMode; an absent SavePath folder is
// forgotten first.
void Update_RecordModeLabel(Context& ctx);

// The text after SavePrefix in automatic names, as the tooltip shows it.
std::string RecordNameSuffixText(const Settings& s);

}  // namespace zk
