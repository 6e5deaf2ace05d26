#pragma once
// A recording laid on the regular 50-per-second grid an EDF+ file needs, and the events
// that become its annotations. Pure arithmetic on the records, apart from the writer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zkd/RecordFile.h"
#include "zkd/TagNotes.h"

namespace zk {

inline constexpr int EdfSampleRate = 50;  // samples a second: one every 20 ms
inline constexpr int EdfSampleMs = 1000 / EdfSampleRate;

// One signal: its label, unit, physical range and the digital values that map onto it
// linearly (digitalMin -> physicalMin, digitalMax -> physicalMax).
struct EdfSignalInfo {
  const char* label;
  const char* unit;
  double physicalMin, physicalMax;
  int digitalMin, digitalMax;
};

// The four signals in file order: needle position, base value, raw reading, sensitivity step.
inline constexpr int EdfSignalCount = 4;
extern const EdfSignalInfo EdfSignals[EdfSignalCount];

// The digital value of signal `signal` for a record.
int16_t EdfDigital(int signal, const SampleRecord& r);

// For each grid time 0, 20, 40 ... up to the last record's time, the index of the record
// shown then: the last one whose TimeMs is not later, holding it across gaps (the first
// record for grid times before it). Empty for a recording without records. Records whose
// time goes back are taken in file order: a record counts once its time is reached.
std::vector<int32_t> GridRecords(const RecordFileData& data);

struct EdfEvent {
  int64_t onsetMs;
  int64_t durationMs;  // -1 when it has none
  std::string text;
};

// The longest annotation text EDFlib writes whole, in bytes; a longer note is cut at a
// character's edge before it.
inline constexpr std::size_t EdfAnnotationBytes = 40;

// Tags ("Tag N", or "Tag N: note" with a note), the needle freezing and thawing ("Freeze
// on", "Freeze off"), and each stretch a lamp is lit ("SET", "Body motion", "Needle lag")
// with its length, in time order; a session note first, at the start ("Session: note").
std::vector<EdfEvent> EdfEvents(const RecordFileData& data, const TagNotes& notes = {});

// `text` cut to at most `bytes` bytes without splitting a UTF-8 character, line breaks and
// tabs as spaces.
std::string OneLineUtf8(const std::string& text, std::size_t bytes);

}  // namespace zk
