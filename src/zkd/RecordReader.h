#pragma once
// Reads a ".zkd" record by record, so that neither the format check nor a tool needs the
// whole file in memory: the first five records are checked before anything else is read,
// and a file with more records than can be held is refused before memory is asked for.
#include <cstdint>
#include <string>

#include "base/AtomicFile.h"
#include "base/SampleRecord.h"

namespace zk {

// The most records a recording may hold: 10 million, about 55 hours at 50 a second
// (200 MB on disk). Larger files are refused rather than loaded.
inline constexpr int32_t MaxRecords = 10'000'000;
// The latest time a record may carry for the recording to be written out for other
// programs: as long as MaxRecords last at 50 a second (about 55 hours). A later time is no
// recording the program made, and laying it on a regular grid would take gigabytes.
inline constexpr int64_t MaxRecordTimeMs = int64_t{MaxRecords} * 20;

// "The recording holds <n> records; at most 10000000 (about 55 hours at 50 a second) can
// be loaded."
std::string TooManyRecordsText(uint64_t records);

enum class ReadStatus { Ok, Missing, BadFormat, TooLarge, IoError };

class RecordReader {
 public:
  RecordReader() = default;
  ~RecordReader();
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;

  // Opens and checks the file: a regular file (a folder or device is an IoError), the
  // reading letters of records 1 to 5, then a record count of at most MaxRecords. Only
  // the first five records are read here.
  ReadStatus Open(const std::string& zkdPath);
  // Why Open or Next failed (Missing, IoError; TooLarge says the limit).
  const FileError& Error() const { return error_; }

  // Records in the file: its length / 20, rounded to nearest, halves to even.
  int32_t RecordCount() const { return count_; }
  // Record k (1-based) by its position; a record cut short reads as zeros beyond the end.
  // False (with Error set) on a read error.
  bool ReadAt(int32_t k, SampleRecord& record);
  // The records in order, from record 1 (again after Rewind). False after the last one,
  // or on a read error (Error set); a file that shrank while being read ends early.
  bool Next(SampleRecord& record);
  void Rewind();
  // How many records Next has delivered since the start.
  int32_t Delivered() const { return next_ - 1; }

 private:
  bool Fill();
  int fd_ = -1;
  uint64_t size_ = 0;
  int32_t count_ = 0;
  int32_t next_ = 1;  // the record Next delivers next
  unsigned char buffer_[64 * 1024 - (64 * 1024) % 20];
  std::size_t have_ = 0, used_ = 0;
  uint64_t bufferAt_ = 0;  // file offset of buffer_[0]
  FileError error_;
};

}  // namespace zk
