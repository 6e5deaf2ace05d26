#pragma once
// The spool of the recording in progress: every record and every byte of sound goes to
// disk as it is taken, so a crash loses no more than the last second or two.
//
// Appending only copies into memory. Whenever a whole second of the recording has ended
// the spool hands that second's records and sound, and the mark that ends it, to the
// kernel as one synchronous-data write that the C library carries out beside the caller
// (see AppendFile): one request a second. The caller never waits for the disk while
// recording; a batch still on its way when the next second ends simply makes the next
// batch bigger.
//
// Destroying the spool without Remove() leaves it on disk for the next start to offer
// back (a recording that did not end normally).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/SampleRecord.h"
#include "spool/AppendFile.h"
#include "spool/SpoolFolder.h"
#include "spool/SpoolFormat.h"

namespace zk {

class SpoolWriter {
 public:
  // A new spool in `recoveryFolder` for a recording that starts now.
  static std::unique_ptr<SpoolWriter> Begin(const std::string& recoveryFolder, const SpoolInfo& info, FileError& error);
  ~SpoolWriter();
  SpoolWriter(const SpoolWriter&) = delete;
  SpoolWriter& operator=(const SpoolWriter&) = delete;

  // One record, taken in whole second `second` of the recording (counted from 0). The
  // first record of a later second completes the seconds before it.
  void AppendRecord(const SampleRecord& record, int32_t second);
  // Sound, continuing what came before.
  void AppendSound(const int16_t* samples, std::size_t count);
  // The recording has stopped after `seconds` whole seconds with everything appended:
  // the index gets the exact totals and all of it goes to disk.
  void Finish(int32_t seconds);
  // The recording ended normally (saved or discarded): the spool is deleted.
  void Remove();

  int64_t SoundBytes() const { return soundBytes_; }
  int32_t Records() const { return recordCount_; }
  // The first failed write or sync (none: number 0); after one the spool takes no more
  // data.
  FileError Failure();
  const std::string& Path() const { return folder_->Path(); }
  // Waits until everything handed to the kernel is on disk (tests and benchmarks).
  void WaitDurable();

 private:
  SpoolWriter() = default;
  // Moves the records and sound taken so far into the data file, as chunks.
  void Move_Pending();
  // A mark after everything appended so far, which is in the data file by then.
  void Mark(uint32_t seconds, uint32_t records, uint32_t soundBytes);
  void SubmitAll();

  std::unique_ptr<SpoolFolder> folder_;
  std::unique_ptr<AppendFile> info_, data_, folderSync_, parentSync_;
  std::vector<uint8_t> records_, sound_, batch_;  // taken since the last batch
  bool audio_ = false;
  int32_t seconds_ = 0;  // whole seconds marked
  int32_t recordCount_ = 0;
  int64_t soundBytes_ = 0;
};

// The name of a spool folder for a recording started at `info`'s date and time by this
// process.
std::string SpoolFolderName(const SpoolInfo& info);

}  // namespace zk
