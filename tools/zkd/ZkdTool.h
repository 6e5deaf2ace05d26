#pragma once
// The commands of zodovaz-zkd, writing to the given streams; main() only parses the
// command line. Each answers the process exit code.
#include <cstdint>
#include <ostream>
#include <string>

#include "zkd/RecordFile.h"
#include "zkd/TagNotes.h"

namespace zk::zkd {

// Reads the whole recording; on failure prints the file's path and what is wrong with
// it, and answers false.
bool Read(const std::string& zkdPath, RecordFileData& data, std::ostream& err);

// Why `outPath` must not be written from the recording at `zkdPath` — it is the recording
// or its sound track (by any name), or no regular file; empty when it may.
std::string OutputRefusal(const std::string& zkdPath, const std::string& outPath);

// The notes beside the recording (NAME.notes): none when there is no file; a damaged one
// is told on `err` and the command goes on without notes.
TagNotes NotesBeside(const std::string& zkdPath, std::ostream& err);

// csv, edf and plot carry the notes beside the recording; info lists them with the tags.
int Info(const std::string& zkdPath, std::ostream& out, std::ostream& err);
int Csv(const std::string& zkdPath, std::ostream& out, std::ostream& err);
int Verify(const std::string& zkdPath, std::ostream& out, std::ostream& err);
// Writes the recording as EDF+ to `edfPath` and prints that path. A recording without
// its start date and time in the header starts at the file's modification time. An
// output OutputRefusal refuses is not written (exit code 2).
int Edf(const std::string& zkdPath, const std::string& edfPath, std::ostream& out, std::ostream& err);

}  // namespace zk::zkd
