#include "zkd/RecordReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "zkd/RecordCodec.h"
#include "zkd/RecordFile.h"

namespace zk {

namespace {

// Reads up to `size` bytes at `offset`; answers the count, or -1 with errno set.
ssize_t ReadUpTo(int fd, unsigned char* out, std::size_t size, uint64_t offset) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::pread(fd, out + got, size - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

}  // namespace

std::string TooManyRecordsText(uint64_t records) {
  return "The recording holds " + std::to_string(records) + " records; at most " + std::to_string(MaxRecords) +
         " (about 55 hours at 50 a second) can be loaded.";
}

RecordReader::~RecordReader() {
  if (fd_ >= 0) ::close(fd_);
}

ReadStatus RecordReader::Open(const std::string& zkdPath) {
  if (fd_ >= 0) ::close(fd_);
  error_ = {};
  count_ = 0;
  fd_ = ::open(zkdPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) {
    error_ = ErrnoError(errno);
    return errno == ENOENT ? ReadStatus::Missing : ReadStatus::IoError;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    error_ = ErrnoError(errno);
    return ReadStatus::IoError;
  }
  if (!S_ISREG(st.st_mode)) {
    error_ = S_ISDIR(st.st_mode) ? ErrnoError(EISDIR) : FileError{EINVAL, "Not a regular file"};
    return ReadStatus::IoError;
  }
  size_ = static_cast<uint64_t>(st.st_size);

  unsigned char first[5 * RecordSize];
  const ssize_t got = ReadUpTo(fd_, first, sizeof first, 0);
  if (got < 0) {
    error_ = ErrnoError(errno);
    return ReadStatus::IoError;
  }
  if (!Verify_zkd_Format(first, static_cast<std::size_t>(got))) return ReadStatus::BadFormat;

  // Checked on the length before the count is taken: a count beyond 32 bits must not wrap.
  if (size_ > static_cast<uint64_t>(MaxRecords) * RecordSize + RecordSize / 2) {
    error_ = FileError{EFBIG, TooManyRecordsText(size_ / RecordSize)};
    return ReadStatus::TooLarge;
  }
  count_ = RecordCountForLength(size_);
  Rewind();
  return ReadStatus::Ok;
}

bool RecordReader::ReadAt(int32_t k, SampleRecord& record) {
  unsigned char bytes[RecordSize] = {};
  if (k < 1 || ReadUpTo(fd_, bytes, RecordSize, static_cast<uint64_t>(k - 1) * RecordSize) < 0) {
    error_ = k < 1 ? FileError{EINVAL, "No such record"} : ErrnoError(errno);
    return false;
  }
  record = DecodeRecord(bytes);
  return true;
}

void RecordReader::Rewind() {
  next_ = 1;
  have_ = used_ = 0;
  bufferAt_ = 0;
}

bool RecordReader::Fill() {
  bufferAt_ += have_;
  used_ = 0;
  const ssize_t got = ReadUpTo(fd_, buffer_, sizeof buffer_, bufferAt_);
  if (got < 0) {
    error_ = ErrnoError(errno);
    have_ = 0;
    return false;
  }
  have_ = static_cast<std::size_t>(got);
  return have_ > 0;
}

bool RecordReader::Next(SampleRecord& record) {
  if (fd_ < 0 || next_ > count_) return false;
  if (used_ >= have_ && !Fill()) return false;  // the file shrank, or a read error
  // The buffer holds whole records, so only the file's last record can be cut short:
  // it reads as zeros beyond the end.
  unsigned char bytes[RecordSize] = {};
  const std::size_t n = std::min(RecordSize, have_ - used_);
  std::memcpy(bytes, buffer_ + used_, n);
  used_ += RecordSize;
  record = DecodeRecord(bytes);
  ++next_;
  return true;
}

}  // namespace zk
