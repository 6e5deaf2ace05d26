#include "spool/SpoolScan.h"

#include <algorithm>
#include <cstring>

#include "spool/SpoolChunks.h"

namespace zk {

namespace {

// The search reads the file in blocks of this size.
constexpr std::size_t SearchBlock = 64 * 1024;

bool IsKindAt(const uint8_t* p) {
  uint32_t kind = 0;
  for (int i = 3; i >= 0; --i) kind = (kind << 8) | p[i];
  const auto k = static_cast<ChunkKind>(kind);
  return k == ChunkKind::Records || k == ChunkKind::Sound || k == ChunkKind::Mark;
}

}  // namespace

bool ChunkScan::Next(FileError& error) {
  afterDamage = false;
  if (next_ >= size_) return false;
  if (!ReadWholeChunk(fd_, size_, next_, header, payload, error)) {
    if (error || !Find_After(next_, error)) return false;
    afterDamage = true;
  } else {
    at = next_;
  }
  next_ = at + ChunkHeaderSize + header.size;
  return true;
}

bool ChunkScan::Find_After(uint64_t from, FileError& error) {
  // Every chunk starts with its kind: only where one of ours stands is a chunk tried.
  std::vector<uint8_t> block;
  for (uint64_t start = from + 1; start + ChunkHeaderSize <= size_;) {
    const std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(SearchBlock, size_ - start));
    block.resize(n);
    if (!ReadFileAt(fd_, start, block.data(), n, error)) return false;
    for (std::size_t i = 0; i + 4 <= n; ++i) {
      if (!IsKindAt(block.data() + i)) continue;
      if (ReadWholeChunk(fd_, size_, start + i, header, payload, error)) {
        at = start + i;
        return true;
      }
      if (error) return false;
    }
    // The next block starts where a kind cut by this block's end would start.
    start += n > 3 ? n - 3 : n;
  }
  return false;
}

}  // namespace zk
