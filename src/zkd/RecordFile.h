#pragma once
// Reading and writing ".zkd" recordings: a flat run of 20-byte records with no file
// header; the record count follows from the file length and records 1 and 2 may carry
// the start time and day.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "base/SampleRecord.h"
#include "zkd/RecordReader.h"

namespace zk {

// What the two header records carry when the time-and-date option is on at save time.
struct RecordHeader {
  int32_t ClockType = 1;
  int32_t DateType = 1;
  int32_t RecordStartSeconds = 0;
  int32_t RecordStartDay = 0;
};

// Writes records 1..recordCount of `buffer` (element k is record k) to `zkdPath`, then,
// with a header, records 1 and 2 again as the "C" and "D" header records (taken from
// copies, so the buffer keeps the plain readings). The file is replaced atomically.
FileError WriteRecordFile(const std::string& zkdPath, const std::vector<SampleRecord>& buffer, int32_t recordCount,
                          const std::optional<RecordHeader>& header);
// The same records written to an open file (a staged one, say), without syncing it.
FileError WriteRecords(int fd, const std::vector<SampleRecord>& buffer, int32_t recordCount,
                       const std::optional<RecordHeader>& header);

// Records in a file of `length` bytes: length / 20 rounded to nearest, halves to even.
int32_t RecordCountForLength(uint64_t length);

// The format check on the first bytes of a file: records 1..5 must each carry a reading
// letter ("O", "P" or "T"). Records beyond the end of the data read as zero bytes, so a
// file of fewer than five records fails.
bool Verify_zkd_Format(const uint8_t* data, std::size_t size);

// Loading progress in fiftieths (1..50), so the caller can draw a growing bar.
class LoadProgress {
 public:
  virtual ~LoadProgress() = default;
  virtual void Begin() = 0;              // clear the bar
  virtual void Show(int fiftieths) = 0;  // the bar is now this many fiftieths long
};

struct RecordFileData {
  std::vector<SampleRecord> records;  // index 0 unused; record k is element k
  int32_t RecordCount = 0;
  int32_t TotalTimeMs = 0;
  int32_t RecordStartSeconds = 0;
  int32_t RecordStartDay = 0;
  int32_t RecordDate = 36525;  // date serial; 36525 = 31/12/1999
};

struct ReadResult {
  ReadStatus status = ReadStatus::Ok;
  FileError error;  // for Missing, TooLarge and IoError
};

// Reads a whole ".zkd" (RecordReader::Open's checks first). `onStep`, when given, runs
// after each progress step (50 in all) — the loader lets the window process events there.
ReadResult ReadRecordFile(const std::string& zkdPath, RecordFileData& out, LoadProgress* progress = nullptr,
                          const std::function<void()>& onStep = {});

// Reads every record of an opened file into `out`, with the header values. Memory that
// cannot be had is an IoError (ENOMEM), not an exception.
ReadResult ReadRecords(RecordReader& reader, RecordFileData& out, LoadProgress* progress = nullptr,
                       const std::function<void()>& onStep = {});

}  // namespace zk
