#pragma once
// Walks the whole chunks of a spool's data file in order. Where the file stops being
// readable the walk looks for the next whole chunk further on: a damaged stretch in the
// middle is stepped over and reported, and what follows it is still read. A stretch with
// no whole chunk after it is the end (a write that a crash cut short, or zeros where its
// data never reached the disk).
#include <cstdint>
#include <vector>

#include "base/AtomicFile.h"
#include "spool/SpoolFormat.h"

namespace zk {

class ChunkScan {
 public:
  ChunkScan(int fd, uint64_t size) : fd_(fd), size_(size) {}

  // Moves to the next whole chunk; false at the end, or when reading fails (then with
  // `error` set).
  bool Next(FileError& error);

  // The chunk moved to: where it starts, its header, its payload.
  uint64_t at = 0;
  ChunkHeader header{};
  std::vector<uint8_t> payload;
  // Damaged data lay between the chunk before and this one.
  bool afterDamage = false;

 private:
  // Looks for the first whole chunk that starts after `from`.
  bool Find_After(uint64_t from, FileError& error);

  int fd_;
  uint64_t size_;
  uint64_t next_ = 0;  // where the chunk after the current one would start
};

}  // namespace zk
