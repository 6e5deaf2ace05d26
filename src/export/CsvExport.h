#pragma once
// A recording as CSV: a header line, then one line per record with its index, time,
// raw reading, needle, BD, base step, sensitivity, flags, tag number, marker and letter.
// "zodovaz-zkd csv" and the window's export write the same lines.
#include <cstdint>
#include <string>

#include "base/AtomicFile.h"
#include "base/SampleRecord.h"
#include "zkd/RecordFile.h"

namespace zk {

// The header line, with its line end.
const char* CsvHeader();

// Appends record `index` as one line, with its line end, to `line`.
void AppendCsvLine(std::string& line, int32_t index, const SampleRecord& r);

// Writes records 1..RecordCount of `data` to `path`, replaced atomically.
FileError WriteCsv(const RecordFileData& data, const std::string& path);

}  // namespace zk
