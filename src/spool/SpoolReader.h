#pragma once
// Reading back the spool of a recording that did not end normally. The result is the
// recording up to the last whole second that every part of the spool holds: the records
// byte for byte as they were taken, and the sound cut to the same length. A spool that
// stopped normally before it was left behind comes back whole.
#include <cstdint>
#include <string>
#include <vector>

#include "core/SampleRecord.h"
#include "spool/SpoolFormat.h"

namespace zk {

struct RecoveredRecording {
  SpoolInfo info;
  std::vector<SampleRecord> records;  // element 0 unused; record k is element k
  int32_t RecordCount = 0;
  int32_t TotalTimeMs = 0;     // TimeMs of the last record
  int32_t Seconds = 0;         // whole seconds of recording
  std::vector<int16_t> sound;  // from the first record on; empty without sound
};

enum class SpoolContent {
  Recording,  // `out` holds the recording
  Empty,      // not even one whole second was recorded: nothing to offer
  Damaged,    // a part is missing or unreadable, or the parts do not fit together
};

struct SpoolReading {
  SpoolContent content = SpoolContent::Empty;
  std::string problem;  // for Damaged: what is wrong, as the end of a sentence
};

SpoolReading ReadSpool(const std::string& folder, RecoveredRecording& out);

}  // namespace zk
