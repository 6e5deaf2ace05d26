#include "export/RecordRange.h"

#include <algorithm>

#include "zkd/RecordCodec.h"
#include "zkd/StartTexts.h"

namespace zk {

RecordFileData RecordRange(const RecordFileData& data, int32_t first, int32_t last) {
  RecordFileData part;
  part.records.resize(1);
  if (data.RecordCount < 1) return part;
  first = std::clamp(first, 1, data.RecordCount);
  last = std::clamp(last, first, data.RecordCount);
  const bool startTime = HasStartTime(data), startDate = HasStartDate(data);
  const int32_t shiftSeconds = std::max(0, data.records[first].TimeMs) / 1000;
  part.records.assign(data.records.begin() + first - 1, data.records.begin() + last + 1);
  part.records[0] = SampleRecord{};
  for (std::size_t k = 1; k < part.records.size(); ++k) part.records[k].TimeMs -= shiftSeconds * 1000;
  part.RecordCount = last - first + 1;
  part.TotalTimeMs = part.records[static_cast<std::size_t>(part.RecordCount)].TimeMs;
  const int32_t seconds = data.RecordStartSeconds + shiftSeconds;
  part.RecordStartSeconds = seconds % 86400;
  part.RecordStartDay = data.RecordStartDay + seconds / 86400;
  part.RecordDate = data.RecordDate + seconds / 86400;
  // The header records: the start where the whole recording has it, the day with it.
  if (startTime && part.RecordCount >= 1)
    part.records[1] = ClockHeaderRecord(part.records[1], RecordHeader{}.ClockType, part.RecordStartSeconds);
  if (startDate && part.RecordCount >= 2)
    part.records[2] = DateHeaderRecord(part.records[2], RecordHeader{}.DateType, part.RecordStartDay);
  return part;
}

}  // namespace zk
