#pragma once
// A recording as CSV: a header line, then one line per record with its index, time,
// raw reading, needle, BD, base step, sensitivity, flags, tag number, marker and letter.
// "zodovaz-zkd csv" and the window's export write the same lines. A recording with notes
// gets one more column at the end, "note", holding each tag's note on its line, and its
// session note on a comment line ("# session: ...") before the header.
#include <cstdint>
#include <string>

#include "base/AtomicFile.h"
#include "base/SampleRecord.h"
#include "zkd/RecordFile.h"
#include "zkd/TagNotes.h"

namespace zk {

// The header line, with its line end.
const char* CsvHeader();
// What comes before the first record for a recording with `notes`: the session note's
// comment line, when there is one, and the header line (with the note column when there
// are notes at all).
std::string CsvPreamble(const TagNotes& notes);

// Appends record `index` as one line, with its line end, to `line`; with notes that are
// not empty, the note column too.
void AppendCsvLine(std::string& line, int32_t index, const SampleRecord& r, const TagNotes& notes = {});

// Writes records 1..RecordCount of `data` to `path`, replaced atomically, with `notes`.
FileError WriteCsv(const RecordFileData& data, const std::string& path, const TagNotes& notes = {});

}  // namespace zk
