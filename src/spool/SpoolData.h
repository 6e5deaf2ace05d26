#pragma once
// The data file of a spool read chunk by chunk into a recording: the records decoded as
// they come, the sound located (it stays in the file for SpoolSound), and the last mark
// whose records and sound are all there.
//
// Damage splits the file into stretches of whole chunks. The first stretch starts at the
// start of the recording; a later one is placed by its first mark, which counts the records
// and sound bytes written before it. A stretch that no mark places is dropped: it is less
// than a second, and where its records and sound belong is not known.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/AtomicFile.h"
#include "spool/SpoolReader.h"
#include "spool/SpoolScan.h"

namespace zk {

// Why the reading of the data file stopped where it did.
enum class Stop {
  End,       // at its end, or at a write a crash cut short: nothing is lost by stopping
  Limit,     // the rest is longer than a recording can be
  NoMemory,  // the rest does not fit in memory
};

class DataReader {
 public:
  DataReader(int fd, uint64_t size, bool audio, const SpoolLimits& limits, RecoveredRecording& out)
      : fd_(fd), size_(size), audio_(audio), limits_(limits), out_(out) {}

  // False with `error` set when reading the file failed.
  bool Read(FileError& error);
  // Cuts the recording at the last usable mark; none when there is none (`marked`).
  void Finish();

  Stop stop = Stop::End;
  bool marked = false;      // a usable mark was found
  int breaks = 0;           // damaged stretches stepped over
  int breaksBeforeEnd = 0;  // of them, those before the last usable mark
  // Records read, for a spool without a usable mark.
  std::size_t Records() const { return out_.records.size() - 1; }

 private:
  // A stretch of whole chunks; its records are the last of out_.records.
  struct Stretch {
    bool placed = false;
    uint64_t recordBase = 0, soundBase = 0;  // where it starts in the recording
    uint64_t records = 0, sound = 0;         // records and sound bytes in it
    std::size_t firstRecord = 1;             // its first record's element in out_.records
    std::size_t firstPiece = 0;              // its first piece in out_.sound
  };
  // A placed stretch's records, for telling what was lost between two of them.
  struct Run {
    uint64_t recordBase, records;
    std::size_t firstRecord;
  };

  void Reserve();
  void Break();
  void End_Stretch();
  bool Take_Records(const ChunkScan& scan);
  bool Take_Sound(const ChunkScan& scan);
  void Take_Mark(const ChunkScan& scan);
  bool Place(const SecondMark& m);
  int32_t Damaged_Seconds() const;

  int fd_;
  uint64_t size_;
  bool audio_;
  SpoolLimits limits_;
  RecoveredRecording& out_;
  Stretch now_{true};
  std::vector<Run> runs_;
  uint64_t recordEnd_ = 0, soundEnd_ = 0;  // where the last placed stretch ended
  SecondMark best_;                        // the last usable mark
  std::size_t bestRecords_ = 0;            // records of out_ up to it
};

}  // namespace zk
