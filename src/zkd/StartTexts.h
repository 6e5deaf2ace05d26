#pragma once
// The start of a recording as its header records carry it, and the texts of a time of
// day and a date as the tools and the pictures show them.
#include <cstdint>
#include <string>

#include "zkd/RecordFile.h"

namespace zk {

// Record 1 is the "C" header (start time), record 2 the "D" header (start day).
inline bool HasStartTime(const RecordFileData& d) { return d.RecordCount >= 1 && d.records[1].Marker == 'C'; }
inline bool HasStartDate(const RecordFileData& d) { return d.RecordCount >= 2 && d.records[2].Marker == 'D'; }

// "hh:mm:ss" of a time of day in seconds after midnight, and "dd/mm/yyyy" of a date serial.
std::string TimeOfDay(int32_t seconds);
std::string DateText(int32_t serial);

}  // namespace zk
