#pragma once
// A sample session's recording: the script's readings, 50 a second, run through the meter
// engine and the recorder as a live recording would run them, so that needle, lamp,
// freeze, base, BD and tags are the ones the program itself records.
#include <cstdint>
#include <string>
#include <vector>

#include "SessionScript.h"
#include "base/SampleRecord.h"
#include "zkd/RecordFile.h"

namespace zk::sample {

// When the sample session was "recorded": the start its header records carry.
struct SessionStart {
  int year = 2026, month = 3, day = 14;
  int seconds = 10 * 3600 + 30 * 60;  // 10:30:00
};

struct SampleRecording {
  std::vector<SampleRecord> records;  // element k is record k; element 0 unused
  int32_t recordCount = 0;
  RecordHeader header;
  std::string error;  // empty when the script could be performed
};

SampleRecording RecordScript(const SessionScript& script, const SessionStart& start = {});

// The raw readings the script describes, one every 20 ms from the start, as the sensor
// would send them (before the meter engine smooths them).
std::vector<int32_t> ScriptReadings(const SessionScript& script);

}  // namespace zk::sample
