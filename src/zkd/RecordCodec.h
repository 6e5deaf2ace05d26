#pragma once
// The 20-byte on-disk form of a SampleRecord. Integer fields are little-endian; the start
// time and start day inside the two header records are big-endian.
#include <cstddef>
#include <cstdint>

#include "base/SampleRecord.h"

namespace zk {

constexpr std::size_t RecordSize = 20;

void EncodeRecord(const SampleRecord& r, uint8_t* out);  // writes RecordSize bytes
SampleRecord DecodeRecord(const uint8_t* in);            // reads RecordSize bytes

// The letters a reading may carry; the format check requires one of them.
bool IsReadingLetter(char letter);

// Header records: a copy of record 1 (clock) or record 2 (date) carrying the start values
// in bytes 14..18. The reading data of the record is kept.
SampleRecord ClockHeaderRecord(SampleRecord r, int32_t clockType, int32_t startSeconds);
SampleRecord DateHeaderRecord(SampleRecord r, int32_t dateType, int32_t startDay);

// Start values from records 1 and 2: the seconds after midnight when record 1 is a clock
// header, else 0; the day count from 31/12/1999 when record 2 is a date header, else 0.
int32_t HeaderStartSeconds(const SampleRecord& record1);
int32_t HeaderStartDay(const SampleRecord& record2);

}  // namespace zk
