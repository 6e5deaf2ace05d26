#pragma once
// A recording as a continuous EDF+ file, written with EDFlib: four signals at 50 samples
// a second on the records' time base (see EdfSignals.h) and the tags, freezes and lamps
// as annotations. The start date and time come from the recording's header records; a
// recording without them starts at the fallback's time (such as its file's time), and an
// annotation at the start says where that came from.
#include <string>

#include "base/AtomicFile.h"
#include "base/Clock.h"
#include "zkd/RecordFile.h"
#include "zkd/TagNotes.h"

namespace zk {

// The recording field's note on how the signals were made: with the recording's own
// start, and without it.
inline constexpr const char* EdfRecordingNote = "50Hz grid, gaps hold last value";
inline constexpr const char* EdfRecordingNoteNoStart = "50Hz, gaps held, start unknown";

struct EdfFallbackStart {
  DateTime start;
  std::string note;  // the annotation, e.g. "Start time taken from the file time"
};

// Writes `path` atomically (a temporary file beside it, renamed once complete). The
// recording is only read. A recording whose last record lies beyond MaxRecordTimeMs is
// refused before anything is written. On failure the error's text says what went wrong.
// The notes go into the annotations' texts.
FileError WriteEdf(const RecordFileData& data, const EdfFallbackStart& fallback, const std::string& path,
                   const TagNotes& notes = {});

// The start the file gets: the header's date and time where the recording has them, the
// fallback's otherwise. `fromHeader` tells whether both came from the header.
DateTime EdfStart(const RecordFileData& data, const DateTime& fallbackStart, bool& fromHeader);

}  // namespace zk
