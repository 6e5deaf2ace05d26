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
// break); in the second case, and when the rest does not fit, what comes before is still
// brought back and the reading says why the rest is not.
#include <cstdint>
#include <string>
#include <vector>

#include "base/SampleRecord.h"
#include "spool/SpoolFormat.h"
#include "zkd/RecordReader.h"

namespace zk {

struct RecoveredRecording {
  SpoolInfo info;
  std::vector<SampleRecord> records;  // element 0 unused; record k is element k
  int32_t RecordCount = 0;
  int32_t TotalTimeMs = 0;  // TimeMs of the last record
  int32_t Seconds = 0;      // whole seconds of recording
  // Bytes of sound from the first record on, left in the spool's data file for SpoolSound
  // to read; 0 without sound.
  uint64_t SoundBytes = 0;
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
};

// The most a recording brought back may hold.
struct SpoolLimits {
  // The sound file's sizes are 32-bit, and so are the marks' sound counts.
  uint64_t SoundBytes = (0xFFFFFFFFull - 44) & ~1ull;
  uint32_t Records = MaxRecords;  // as many as a recording file may hold
};

SpoolReading ReadSpool(const std::string& folder, RecoveredRecording& out, const SpoolLimits& limits = {});

}  // namespace zk
