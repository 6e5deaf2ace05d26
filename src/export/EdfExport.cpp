#include "export/EdfExport.h"

#include <edflib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "export/EdfSignals.h"
#include "zkd/StartTexts.h"

namespace zk {

namespace {

constexpr int MaxAnnotationSignals = 64;  // EDFlib's limit
constexpr int RecordSeconds = 1;          // one data record a second

FileError Failed(const std::string& what) { return FileError{EIO, what}; }

std::string OpenErrorText(int code) {
  switch (code) {
    case EDFLIB_MALLOC_ERROR: return "not enough memory";
    case EDFLIB_NO_SUCH_FILE_OR_DIRECTORY: return "the file could not be created";
    case EDFLIB_MAXFILES_REACHED:
    case EDFLIB_FILE_ALREADY_OPENED: return "the EDF library has too many files open";
    default: return "the EDF library refused the file (code " + std::to_string(code) + ")";
  }
}

// The header fields and signal parameters; false with `error` set on any refusal.
bool SetUp(int h, const DateTime& start, bool fromHeader, int annotationSignals, std::string& error) {
  for (int s = 0; s < EdfSignalCount; ++s) {
    const EdfSignalInfo& i = EdfSignals[s];
    if (edf_set_samplefrequency(h, s, EdfSampleRate * RecordSeconds) || edf_set_physical_minimum(h, s, i.physicalMin) ||
        edf_set_physical_maximum(h, s, i.physicalMax) || edf_set_digital_minimum(h, s, i.digitalMin) ||
        edf_set_digital_maximum(h, s, i.digitalMax) || edf_set_label(h, s, i.label) ||
        edf_set_physical_dimension(h, s, i.unit)) {
      error = std::string("the EDF library refused the settings of signal ") + i.label;
      return false;
    }
  }
  if (edf_set_startdatetime(h, start.year, start.month, start.day, start.hour, start.minute, start.second)) {
    error = "a start date of " + std::to_string(start.year) + " cannot be written in EDF+ (1985 to 2084)";
    return false;
  }
  // Unknown patient fields stay "X" (EDFlib's default); the recording field says how the
  // signals were made and where the start came from, in the 32 characters EDFlib leaves
  // it beside the start date and the equipment (it cuts a longer text mid-word).
  edf_set_equipment(h, "zodovaz");
  edf_set_recording_additional(h, fromHeader ? EdfRecordingNote : EdfRecordingNoteNoStart);
  if (edf_set_number_of_annotation_signals(h, annotationSignals)) {
    error = "the EDF library refused the annotation space";
    return false;
  }
  return true;
}

// EDFlib does not report every failed write (a full disk leaves a short file behind a
// success), so the file is measured against what its own header says it holds.
bool WrittenWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char header[256];
  if (!in.read(header, sizeof header)) return false;
  auto field = [&](int at, int width) {
    return std::atoll(std::string(header + at, static_cast<std::size_t>(width)).c_str());
  };
  const long long headerBytes = field(184, 8), records = field(236, 8), signals = field(252, 4);
  if (signals < 1 || headerBytes != 256 * (signals + 1)) return false;
  std::vector<char> signalHeader(static_cast<std::size_t>(256 * signals));
  if (!in.read(signalHeader.data(), static_cast<std::streamsize>(signalHeader.size()))) return false;
  long long recordBytes = 0;  // the samples per data record, two bytes each
  for (long long s = 0; s < signals; ++s)
    recordBytes += 2 * std::atoll(std::string(signalHeader.data() + 216 * signals + 8 * s, 8).c_str());
  std::error_code ec;
  const auto size = static_cast<long long>(std::filesystem::file_size(path, ec));
  return !ec && size == headerBytes + records * recordBytes;
}

FileError WriteInto(const std::string& tempPath, const RecordFileData& data, const EdfFallbackStart& fallback,
                    const TagNotes& notes) {
  const std::vector<int32_t> grid = GridRecords(data);
  if (grid.empty()) return Failed("the recording has no records");
  std::vector<EdfEvent> events = EdfEvents(data, notes);
  bool fromHeader = false;
  const DateTime start = EdfStart(data, fallback.start, fromHeader);
  if (!fromHeader) events.insert(events.begin(), EdfEvent{0, -1, fallback.note});

  const int perRecord = EdfSampleRate * RecordSeconds;
  const std::size_t dataRecords = (grid.size() + perRecord - 1) / perRecord;
  // Each data record carries one annotation per annotation signal.
  const std::size_t needed = (events.size() + dataRecords - 1) / dataRecords;
  if (needed > MaxAnnotationSignals)
    return Failed(std::to_string(events.size()) + " events are more than EDF+ can hold for " +
                  std::to_string(dataRecords) + " seconds");
  const int annotationSignals = std::max<int>(1, static_cast<int>(needed));

  const int h = edfopen_file_writeonly(tempPath.c_str(), EDFLIB_FILETYPE_EDFPLUS, EdfSignalCount);
  if (h < 0) return Failed(OpenErrorText(h));
  std::string error;
  if (SetUp(h, start, fromHeader, annotationSignals, error)) {
    std::vector<short> buf(static_cast<std::size_t>(perRecord));
    for (std::size_t r = 0; r < dataRecords && error.empty(); ++r) {
      for (int s = 0; s < EdfSignalCount && error.empty(); ++s) {
        for (int i = 0; i < perRecord; ++i) {
          // The last data record is filled out by holding the last value.
          const std::size_t g = std::min(grid.size() - 1, r * perRecord + static_cast<std::size_t>(i));
          buf[static_cast<std::size_t>(i)] = EdfDigital(s, data.records[grid[g]]);
        }
        if (edfwrite_digital_short_samples(h, buf.data())) error = "the samples could not be written";
      }
    }
    for (std::size_t e = 0; e < events.size() && error.empty(); ++e) {
      // Onset and duration in units of 100 microseconds.
      const EdfEvent& ev = events[e];
      if (edfwrite_annotation_utf8(h, ev.onsetMs * 10, ev.durationMs < 0 ? -1 : ev.durationMs * 10, ev.text.c_str()))
        error = "an annotation could not be written";
    }
  }
  const int closed = edfclose_file(h);
  if (error.empty() && closed != 0) error = "the file could not be completed";
  if (error.empty() && !WrittenWhole(tempPath)) error = "the file could not be written whole (is the disk full?)";
  return error.empty() ? FileError{} : Failed(error);
}

}  // namespace

DateTime EdfStart(const RecordFileData& data, const DateTime& fallbackStart, bool& fromHeader) {
  DateTime start = fallbackStart;
  if (HasStartDate(data)) {
    const DateTime d = DateFromSerial(data.RecordDate);
    start.year = d.year;
    start.month = d.month;
    start.day = d.day;
  }
  if (HasStartTime(data)) {
    const int32_t s = (data.RecordStartSeconds % 86400 + 86400) % 86400;
    start.hour = s / 3600 % 24;
    start.minute = s / 60 % 60;
    start.second = s % 60;
  }
  fromHeader = HasStartDate(data) && HasStartTime(data);
  return start;
}

FileError WriteEdf(const RecordFileData& data, const EdfFallbackStart& fallback, const std::string& path,
                   const TagNotes& notes) {
  // Refused before a byte is written: the grid runs to the last record's time.
  if (data.RecordCount >= 1 && data.records[data.RecordCount].TimeMs > MaxRecordTimeMs)
    return Failed("the last record is at " + std::to_string(data.records[data.RecordCount].TimeMs) +
                  " ms, beyond the " + std::to_string(MaxRecordTimeMs / 3'600'000) + " hours a recording can last");
  return ReplaceFileThroughPath(
      path, [&](const std::string& tempPath) { return WriteInto(tempPath, data, fallback, notes); });
}

}  // namespace zk
