#pragma once
// The sound of a spool, read back in order a piece at a time: a recording brought back takes
// its sound straight from the spool's data file into the sound device (and into a new
// spool), never holding it whole in memory. Memory holds one chunk, about a second.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "spool/SpoolFormat.h"

namespace zk {

class SpoolSound {
 public:
  // The first `bytes` bytes of sound of the spool in `folder` (the reading's SoundBytes).
  SpoolSound(const std::string& folder, uint64_t bytes);
  ~SpoolSound();
  SpoolSound(const SpoolSound&) = delete;
  SpoolSound& operator=(const SpoolSound&) = delete;

  // Copies up to `count` samples of what follows into `out`; answers how many, fewer only
  // at the end of the sound. Where the data file cannot be read, or is damaged, the rest
  // reads as silence: the sound keeps the length of the records it goes with.
  std::size_t Read(int16_t* out, std::size_t count);
  // Samples not yet read.
  uint64_t Left() const { return left_ / 2; }

 private:
  bool Next_Sound_Chunk();

  int fd_ = -1;
  uint64_t size_ = 0;  // of the data file
  uint64_t at_ = 0;    // file offset of the next chunk
  uint64_t left_ = 0;  // bytes of sound still to read
  ChunkHeader header_{};
  std::vector<uint8_t> chunk_;  // the sound chunk being read
  std::size_t used_ = 0;        // bytes of it read
  bool broken_ = false;         // no more sound can be read from the file
};

}  // namespace zk
