#include "ZkdTool.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include "base/Clock.h"
#include "base/Numbers.h"
#include "base/OutputFile.h"
#include "export/CsvExport.h"
#include "export/EdfExport.h"
#include "sound/SoundFile.h"
#include "zkd/FailureTexts.h"
#include "zkd/RecordCodec.h"
#include "zkd/RecordFile.h"
#include "zkd/RecordReader.h"
#include "zkd/StartTexts.h"

namespace zk::zkd {

namespace {

// Opens the recording; on failure prints what is wrong and answers false.
bool Open(const std::string& zkdPath, RecordReader& reader, std::ostream& err) {
  switch (reader.Open(zkdPath)) {
    case ReadStatus::Ok: return true;
    case ReadStatus::BadFormat: err << zkdPath << ": " << BadFormatText << "\n"; return false;
    case ReadStatus::Missing: err << zkdPath << ": no such file\n"; return false;
    case ReadStatus::TooLarge:
    case ReadStatus::IoError:
      err << zkdPath << ": "
          << (reader.Error().number == EISDIR ? std::string("a folder, not a recording") : reader.Error().description)
          << "\n";
      return false;
  }
  return false;
}

bool ReadFailed(const RecordReader& reader, const std::string& zkdPath, std::ostream& err) {
  if (!reader.Error()) return false;
  err << zkdPath << ": " << reader.Error().description << "\n";
  return true;
}

// A time in whole seconds as the player's clock shows it, or what is wrong with it.
std::string TimeText(int32_t ms, int32_t seconds, int32_t totalTimeMs) {
  if (ms < 0) return "a negative time (" + std::to_string(ms) + " ms)";
  return Format_Time(seconds, totalTimeMs);
}

}  // namespace

bool Read(const std::string& zkdPath, RecordFileData& data, std::ostream& err) {
  RecordReader reader;
  if (!Open(zkdPath, reader, err)) return false;
  const ReadResult read = ReadRecords(reader, data);
  if (read.status == ReadStatus::Ok) return true;
  err << zkdPath << ": " << read.error.description << "\n";
  return false;
}

namespace {

// A note on one line of the listing.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  return text;
}

std::string BaseName(const std::string& zkdPath) {
  const std::string p = zkdPath.size() > 4 && zkdPath.substr(zkdPath.size() - 4) == ".zkd"
                            ? zkdPath.substr(0, zkdPath.size() - 4)
                            : zkdPath;
  return p;
}

}  // namespace

std::string OutputRefusal(const std::string& zkdPath, const std::string& outPath) {
  const std::string base = BaseName(zkdPath);
  return zk::OutputRefusal(outPath, {zkdPath, base + ".wav", base + ".mp3", NotesPathFor(base)});
}

int Info(const std::string& zkdPath, std::ostream& out, std::ostream& err) {
  RecordReader reader;
  if (!Open(zkdPath, reader, err)) return 1;
  const int32_t count = reader.RecordCount();

  // First pass: everything but the list of tags, which the second pass prints.
  SampleRecord r, first, second, last;
  std::map<int, int> steps;
  int tags = 0, negative = 0, falls = 0;
  int32_t firstNegative = 0, firstFall = 0, before = 0;
  while (reader.Next(r)) {
    const int32_t k = reader.Delivered();
    if (k == 1) first = r;
    if (k == 2) second = r;
    last = r;
    ++steps[r.Sensitivity];
    tags += r.Marker == 'T';
    if (r.TimeMs < 0 && negative++ == 0) firstNegative = k;
    if (k > 1 && r.TimeMs < before && falls++ == 0) firstFall = k;
    before = r.TimeMs;
  }
  if (ReadFailed(reader, zkdPath, err)) return 1;

  const int32_t total = last.TimeMs;
  out << "Records: " << reader.Delivered() << "\n";
  out << "Duration: " << (total < 0 ? "not known: the last record has " : "")
      << TimeText(total, CInt32(total / 1000.0), total) << "\n";
  if (first.Marker == 'C') out << "Start time: " << TimeOfDay(HeaderStartSeconds(first)) << "\n";
  if (count >= 2 && second.Marker == 'D')
    out << "Start date: " << DateText(DateSerial(1999, 12, 31) + HeaderStartDay(second)) << "\n";
  if (negative > 0)
    out << "Warning: " << negative << " record(s) have a negative time, the first is record " << firstNegative << "\n";
  if (falls > 0)
    out << "Warning: the time goes back at " << falls << " record(s), the first is record " << firstFall << "\n";

  out << "Sensitivity steps:";
  for (auto [step, n] : steps) out << " " << step << " (" << n << ")";
  out << "\n";

  const TagNotes notes = NotesBeside(zkdPath, err);
  if (!notes.session.empty()) out << "Session note: " << OneLine(notes.session) << "\n";
  out << "Tags: " << tags << "\n";
  reader.Rewind();
  while (tags > 0 && reader.Next(r)) {
    if (r.Marker != 'T') continue;
    out << "  tag " << r.Tag << " at " << TimeText(r.TimeMs, r.TimeMs / 1000, total) << " (record "
        << reader.Delivered() << ")";
    if (const std::string& note = notes.Of(r.Tag); !note.empty()) out << ": " << OneLine(note);
    out << "\n";
  }
  return ReadFailed(reader, zkdPath, err) ? 1 : 0;
}

TagNotes NotesBeside(const std::string& zkdPath, std::ostream& err) {
  NotesLoad load = LoadNotes(BaseName(zkdPath));
  if (!load.error.empty()) err << "zodovaz-zkd: " << load.error << "\n";
  return std::move(load.notes);
}

int Csv(const std::string& zkdPath, std::ostream& out, std::ostream& err) {
  RecordReader reader;
  if (!Open(zkdPath, reader, err)) return 1;
  const TagNotes notes = NotesBeside(zkdPath, err);
  out << CsvPreamble(notes);
  std::string line;
  SampleRecord r;
  while (reader.Next(r)) {
    line.clear();
    AppendCsvLine(line, reader.Delivered(), r, notes);
    out << line;
  }
  if (ReadFailed(reader, zkdPath, err)) return 1;
  return out.good() ? 0 : 1;
}

namespace {
// The sound may end up to a second before the last record, or run on longer: a recording
// stopped because the readings stopped keeps the sound until the stop noticed it.
constexpr int64_t SoundShorterMs = 1000, SoundLongerMs = 5000;
}  // namespace

int Verify(const std::string& zkdPath, std::ostream& out, std::ostream& err) {
  RecordFileData data;
  if (!Read(zkdPath, data, err)) return 1;
  // A sound track beside the recording must open too, as loading it with audio on would.
  const std::string base = BaseName(zkdPath);
  std::error_code ec;
  std::string track, kind;
  if (std::filesystem::is_regular_file(base + ".wav", ec) && std::filesystem::file_size(base + ".wav", ec) > 0) {
    track = base + ".wav";
    kind = "wav";
  } else if (std::filesystem::is_regular_file(base + ".mp3", ec)) {
    track = base + ".mp3";
    kind = "mp3";
  }
  if (!track.empty()) {
    std::string error;
    const auto sound = SoundFileSource::Open(track, error);
    if (!sound || (kind == "wav" && !WavDataIsWhole(track, error))) {
      err << CouldNotLoadText(kind, 2, error) << "\n";
      return 1;
    }
    // The program saves a recording's sound and records together, the sound lasting about
    // as long as the records; a sound of another length belongs to another recording (an
    // interrupted save, or a file copied over one of the pair).
    const int64_t soundMs = sound->Frames() * 1000 / sound->Format().rate;
    const int64_t recordsMs = data.TotalTimeMs;
    if (kind == "wav" && (soundMs < recordsMs - SoundShorterMs || soundMs > recordsMs + SoundLongerMs)) {
      err << track << " lasts " << soundMs << " ms but the last record of " << zkdPath << " is at " << data.TotalTimeMs
          << " ms: the sound and the records do not belong together\n";
      return 1;
    }
  }
  out << zkdPath << ": " << data.RecordCount << " records"
      << (track.empty() ? ", no sound track (loads with audio off)" : ", sound track " + track) << "\n";
  return 0;
}

namespace {

// The file's modification time as the local date and time; the epoch when it has none.
// The start of a recording without its own start: the file was written when the
// recording ended, so its time less the recording's length.
DateTime FileStartTime(const std::string& path, int32_t lengthMs) {
  DateTime d;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return d;
  const time_t start = st.st_mtime - (std::max(0, lengthMs) + 500) / 1000;
  struct tm local {};
  if (!localtime_r(&start, &local)) return d;
  d.year = local.tm_year + 1900;
  d.month = local.tm_mon + 1;
  d.day = local.tm_mday;
  d.hour = local.tm_hour;
  d.minute = local.tm_min;
  d.second = local.tm_sec;
  return d;
}

}  // namespace

int Edf(const std::string& zkdPath, const std::string& edfPath, std::ostream& out, std::ostream& err) {
  if (const std::string why = OutputRefusal(zkdPath, edfPath); !why.empty()) {
    err << "zodovaz-zkd edf: will not write " << edfPath << ": it " << why << "\n";
    return 2;
  }
  RecordFileData data;
  if (!Read(zkdPath, data, err)) return 1;
  const TagNotes notes = NotesBeside(zkdPath, err);
  if (FileError e = WriteEdf(data, {FileStartTime(zkdPath, data.TotalTimeMs), "Start time taken from the file time"},
                             edfPath, notes)) {
    err << "zodovaz-zkd edf: could not write " << edfPath << ": " << e.description << "\n";
    return 1;
  }
  out << edfPath << "\n";
  return 0;
}

}  // namespace zk::zkd
