#pragma once
// A file that only grows, made durable now and then without its writer ever waiting for
// the disk. Appends collect in memory. Submit() hands everything collected so far to the
// kernel as one synchronous-data write at the end of the file (done only once its data
// and size are on the disk), through POSIX asynchronous I/O — the C library carries it out
// beside the caller — and returns at once. While that batch is on its way, new appends
// keep collecting and go with the next batch. Only the destructor and WaitIdle() wait.
#include <aio.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/AtomicFile.h"

namespace zk {

class AppendFile {
 public:
  // Creates `path`, which must not exist yet.
  static std::unique_ptr<AppendFile> Create(const std::string& path, FileError& error);
  // A folder whose new entries must reach the disk: nothing is appended, the first batch
  // syncs it.
  static std::unique_ptr<AppendFile> Folder(const std::string& path, FileError& error);
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  void Append(const void* data, std::size_t size);
  // Starts a batch with what has been appended since the last one, unless there is
  // nothing new or the last batch is still on its way. True when a batch was started.
  bool Submit();
  // True while a batch is on its way.
  bool Busy();
  // Waits until no batch is on its way.
  void WaitIdle();

  int64_t Appended() const { return appended_; }
  // Bytes known to be on the disk.
  int64_t Durable() {
    Busy();
    return durable_;
  }
  // The first failure of a batch; after one the file takes no more batches.
  const FileError& Error() const { return error_; }

 private:
  AppendFile(int fd, bool folder);

  int fd_ = -1;
  bool folder_;    // a folder: batches sync it
  bool mustSync_;  // a batch is due even with nothing appended
  std::vector<uint8_t> pending_, inFlight_;
  aiocb op_{};
  bool busy_ = false;
  int64_t appended_ = 0, submitted_ = 0, durable_ = 0;
  FileError error_;
};

}  // namespace zk
