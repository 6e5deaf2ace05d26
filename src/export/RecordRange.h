#pragma once
// A part of a recording made a recording of its own, for exporting a selected range:
// records first..last renumbered from 1, their times moved back by the whole seconds
// before the part, and the start time (and day) moved on by as much, so the clock times
// stay true. A recording that carries its start carries it in the part's header records.
#include <cstdint>

#include "zkd/RecordFile.h"

namespace zk {

// `first` and `last` are clamped to the recording's records.
RecordFileData RecordRange(const RecordFileData& data, int32_t first, int32_t last);

}  // namespace zk
