#pragma once
// Writing the recording in memory to disk: the sound (when recording with sound) as
// base path + ".wav", then the readings as base path + ".zkd". Each file replaces an older
// one of its name only once it is complete, so a failure half way leaves the old files
// whole; the recording in memory is untouched either way.
#include <string>

#include "core/Context.h"

#include "zkd/RecordFile.h"

namespace zk {

// The header to write for a recording saved now: the settings' clock and date types and
// the session's start values, or nothing when TimeDateEnable is off.
std::optional<RecordHeader> HeaderToWrite(const Context& ctx);

// `withHeader`: records 1 and 2 carry the start time and day when TimeDateEnable is on.
// On failure shows a message naming the file that could not be written and answers false.
bool Save_Recording(Context& ctx, const std::string& basePath, bool withHeader);

}  // namespace zk
