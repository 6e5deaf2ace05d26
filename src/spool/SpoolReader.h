#pragma once
// Reading back the spool of a recording that did not end normally. The result is the
// recording up to the last whole second that every part of the spool holds: the records
// byte for byte as they were taken, and the length of the sound that goes with them (the
// sound itself stays on disk until SpoolSound streams it where it goes). A spool that
// stopped normally before it was left behind comes back whole.
//
// The data file is read one chunk at a time: besides the records it brings back, the
// reading needs memory for one chunk only. Where the file stops being readable it is told
// apart whether a crash cut the last write short (nothing after it but the torn write or
// zeros: the usual end of a spool left behind) or the spool is damaged (more after the
// break). Damage in the middle loses only what it covers: the reading takes up again at
// the next mark after it, which tells where the records and sound that follow stand, and
// everything whole before and after comes back. The records keep their times, so the
// lost stretch is a gap in them; the sound keeps its length, silent where it was lost.
// When damage leaves no mark after it, or the rest does not fit, what comes before is
// brought back and the reading says why the rest is not.
#include <cstdint>
#include <string>
#include <vector>

#include "base/SampleRecord.h"
#include "spool/SpoolFormat.h"
#include "zkd/RecordReader.h"

namespace zk {

// A sound chunk of the spool's data file and where its bytes go in the recording's sound.
struct SoundPiece {
  uint64_t chunkAt = 0;  // file offset of the chunk
  uint64_t start = 0;    // sound byte of the recording its first byte is
  uint32_t size = 0;     // its payload's bytes
};

struct RecoveredRecording {
  SpoolInfo info;
  std::vector<SampleRecord> records;  // element 0 unused; record k is element k
  int32_t RecordCount = 0;
  int32_t TotalTimeMs = 0;  // TimeMs of the last record
  int32_t Seconds = 0;      // whole seconds of recording
  // Bytes of sound from the first record on, left in the spool's data file for SpoolSound
  // to read; 0 without sound. `sound` says where they are, in order; bytes it does not
  // cover were lost.
  uint64_t SoundBytes = 0;
  std::vector<SoundPiece> sound;
  // Whole seconds, of `Seconds`, whose readings or sound were lost to damage in the middle.
  int32_t DamagedSeconds = 0;
};

enum class SpoolContent {
  Recording,  // `out` holds the recording, or as much of it as can be brought back
  Empty,      // not even one whole second was recorded: nothing to offer
  Damaged,    // nothing can be brought back: a part is missing, unreadable or damaged, or
              // the parts do not fit together
};

struct SpoolReading {
  SpoolContent content = SpoolContent::Empty;
  // For Damaged: what is wrong. For Recording: why only a first part comes back (empty when
  // all of it does). Either way the end of a sentence.
  std::string problem;
  // For Recording: damage was stepped over, so the spool does not hold the recording as it
  // was made and is to be kept.
  bool damaged = false;
};

// What is said of damage stepped over in the middle, as the end of a sentence.
extern const char* const DamagedInPlacesText;

// The most a recording brought back may hold.
struct SpoolLimits {
  // The sound file's sizes are 32-bit, and so are the marks' sound counts.
  uint64_t SoundBytes = (0xFFFFFFFFull - 44) & ~1ull;
  uint32_t Records = MaxRecords;  // as many as a recording file may hold
};

SpoolReading ReadSpool(const std::string& folder, RecoveredRecording& out, const SpoolLimits& limits = {});

}  // namespace zk
