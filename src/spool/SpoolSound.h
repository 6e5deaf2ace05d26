#pragma once
// The sound of a spool, read back in order a piece at a time: a recording brought back takes
// its sound straight from the spool's data file into the sound device (and into a new
// spool), never holding it whole in memory. Memory holds one chunk, about a second.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "spool/SpoolFormat.h"
#include "spool/SpoolReader.h"

namespace zk {

class SpoolSound {
 public:
  // The sound of the recording `r` read back from the spool in `folder`.
  SpoolSound(const std::string& folder, const RecoveredRecording& r);
  ~SpoolSound();
  SpoolSound(const SpoolSound&) = delete;
  SpoolSound& operator=(const SpoolSound&) = delete;

  // Copies up to `count` samples of what follows into `out`; answers how many, fewer only
  // at the end of the sound. Sound lost to damage, or that cannot be read from the data
  // file now, reads as silence: the sound keeps the length of the records it goes with.
  std::size_t Read(int16_t* out, std::size_t count);
  // Samples not yet read.
  uint64_t Left() const { return (end_ - at_) / 2; }

 private:
  // Makes chunk_ hold the piece that covers at_, if any; false when none does.
  bool Load_Piece();

  int fd_ = -1;
  uint64_t size_ = 0;  // of the data file
  std::vector<SoundPiece> pieces_;
  std::size_t piece_ = 0;  // the first piece that does not end before at_
  bool loaded_ = false;    // chunk_ holds pieces_[piece_]
  uint64_t at_ = 0;        // sound byte read next
  uint64_t end_ = 0;       // sound bytes in all
  std::vector<uint8_t> chunk_;
};

}  // namespace zk
