#include "spool/AppendFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace zk {

namespace {

// The C library starts a helper thread for a request when none is idle and lets idle ones
// go after a second. Batches come about once a second, so with the default every batch
// would start its helpers afresh (a tenth of a millisecond each on the caller's time);
// helpers kept idle for longer are simply woken.
void KeepHelpersIdle() {
  static const bool done = [] {
    aioinit init{};
    init.aio_threads = 4;
    init.aio_num = 16;
    init.aio_idle_time = 60;
    ::aio_init(&init);
    return true;
  }();
  (void)done;
}

}  // namespace

AppendFile::AppendFile(int fd, bool folder) : fd_(fd), folder_(folder), mustSync_(folder) { KeepHelpersIdle(); }

std::unique_ptr<AppendFile> AppendFile::Create(const std::string& path, FileError& error) {
  // Every write reaches the disk, data and size, before it counts as done: one request a
  // batch does both.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_DSYNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    error = ErrnoError(errno);
    return nullptr;
  }
  return std::unique_ptr<AppendFile>(new AppendFile(fd, false));
}

std::unique_ptr<AppendFile> AppendFile::Folder(const std::string& path, FileError& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = ErrnoError(errno);
    return nullptr;
  }
  return std::unique_ptr<AppendFile>(new AppendFile(fd, true));
}

AppendFile::~AppendFile() {
  WaitIdle();
  if (fd_ >= 0) ::close(fd_);
}

void AppendFile::Append(const void* data, std::size_t size) {
  if (error_) return;  // a file that failed takes nothing more: memory must not fill up
  const auto* p = static_cast<const uint8_t*>(data);
  pending_.insert(pending_.end(), p, p + size);
  appended_ += static_cast<int64_t>(size);
}

bool AppendFile::Submit() {
  if (error_ || Busy()) return false;
  if (pending_.empty() && !mustSync_) return false;
  op_ = aiocb{};
  op_.aio_fildes = fd_;
  op_.aio_sigevent.sigev_notify = SIGEV_NONE;
  int started;
  if (folder_) {
    started = ::aio_fsync(O_SYNC, &op_);
  } else {
    inFlight_.swap(pending_);
    op_.aio_buf = inFlight_.data();
    op_.aio_nbytes = inFlight_.size();
    op_.aio_offset = static_cast<off_t>(submitted_);
    started = ::aio_write(&op_);
  }
  if (started != 0) {
    // Out of resources for now: the bytes wait for the next attempt.
    if (errno != EAGAIN) error_ = ErrnoError(errno);
    inFlight_.insert(inFlight_.end(), pending_.begin(), pending_.end());
    pending_.swap(inFlight_);
    inFlight_.clear();
    return false;
  }
  pending_.clear();
  busy_ = true;
  mustSync_ = false;
  submitted_ += static_cast<int64_t>(inFlight_.size());
  return true;
}

bool AppendFile::Busy() {
  if (!busy_) return false;
  if (::aio_error(&op_) == EINPROGRESS) return true;
  busy_ = false;
  const int err = ::aio_error(&op_);
  const ssize_t n = ::aio_return(&op_);
  if (err != 0 && !error_) error_ = ErrnoError(err);
  // A short write leaves a gap the next batch must not write past.
  if (err == 0 && !folder_ && static_cast<std::size_t>(n) != inFlight_.size() && !error_) error_ = ErrnoError(ENOSPC);
  inFlight_.clear();
  if (!error_) durable_ = submitted_;
  return false;
}

void AppendFile::WaitIdle() {
  while (Busy()) {
    const aiocb* list[1] = {&op_};
    ::aio_suspend(list, 1, nullptr);  // an interrupted wait just looks again
  }
}

}  // namespace zk
