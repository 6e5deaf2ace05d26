#include "spool/SpoolChunks.h"

#include <unistd.h>

#include <cerrno>

namespace zk {

bool ReadFileAt(int fd, uint64_t offset, void* out, std::size_t bytes, FileError& error) {
  auto* p = static_cast<char*>(out);
  std::size_t got = 0;
  while (got < bytes) {
    const ssize_t n = ::pread(fd, p + got, bytes - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = ErrnoError(errno);
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

bool ReadWholeChunk(int fd, uint64_t size, uint64_t at, ChunkHeader& header, std::vector<uint8_t>& payload,
                    FileError& error) {
  uint8_t bytes[ChunkHeaderSize];
  if (at > size || size - at < ChunkHeaderSize || !ReadFileAt(fd, at, bytes, sizeof bytes, error)) return false;
  const auto h = DecodeChunkHeader(bytes);
  if (!h || h->size > MaxChunkPayload || h->size > size - at - ChunkHeaderSize) return false;
  header = *h;
  payload.resize(h->size);
  return ReadFileAt(fd, at + ChunkHeaderSize, payload.data(), payload.size(), error) &&
         PayloadMatches(*h, payload.data());
}

}  // namespace zk
