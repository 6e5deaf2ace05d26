#pragma once
// Which transport buttons and labels of the record panel are shown, enabled and how
// they are pictured, for the operating mode and the state of the recording in memory; and
// the recording-mode label, which shows where automatic names go.
#include <string>

#include "core/Context.h"

namespace zk {

// Also gives a greyed record button a tool tip that says why.
void Update_Command_State(Context& ctx);

// Why Record cannot be used in this state, in a few words; empty when nothing known
// stands in its way.
std::string Record_Disabled_Reason(const Context& ctx);

// lblRecordMode's caption and tool tip for RecordingMode; a SavePath whose folder does not
// exist is forgotten first. Other mode values leave the label as it is.
void Update_RecordModeLabel(Context& ctx);

}  // namespace zk
