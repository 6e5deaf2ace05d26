#include "spool/SpoolData.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include "base/RecordingRates.h"
#include "zkd/RecordCodec.h"

namespace zk {

void DataReader::Reserve() {
  // A second holds 50 records of 20 bytes, and with sound 44100 bytes more.
  const uint64_t perSecond = RecordsPerSecond * RecordSize + (audio_ ? SoundBytesPerSecond : 0);
  const uint64_t records = std::min<uint64_t>(size_ / perSecond * RecordsPerSecond + RecordsPerSecond, limits_.Records);
  try {
    out_.records.reserve(static_cast<std::size_t>(records) + 1);
  } catch (const std::bad_alloc&) {
  }
}

bool DataReader::Read(FileError& error) {
  Reserve();
  out_.records.assign(1, SampleRecord{});
  out_.sound.clear();
  ChunkScan scan(fd_, size_);
  bool go = true;
  while (go && scan.Next(error)) {
    if (scan.afterDamage) Break();
    switch (scan.header.kind) {
      case ChunkKind::Records: go = Take_Records(scan); break;
      case ChunkKind::Sound: go = Take_Sound(scan); break;
      case ChunkKind::Mark: Take_Mark(scan); break;
    }
  }
  if (error) return false;
  End_Stretch();
  return true;
}

void DataReader::Break() {
  ++breaks;
  End_Stretch();
  now_ = Stretch{};
  now_.firstRecord = out_.records.size();
  now_.firstPiece = out_.sound.size();
}

void DataReader::End_Stretch() {
  if (!now_.placed) {
    out_.records.resize(now_.firstRecord);
    out_.sound.resize(now_.firstPiece);
    return;
  }
  if (now_.records > 0) runs_.push_back({now_.recordBase, now_.records, now_.firstRecord});
  recordEnd_ = now_.recordBase + now_.records;
  soundEnd_ = now_.soundBase + now_.sound;
}

bool DataReader::Take_Records(const ChunkScan& scan) {
  const std::vector<uint8_t>& p = scan.payload;
  // The writer writes whole records that are readings: a chunk with anything else cannot
  // be trusted, whatever its checksum says.
  bool valid = p.size() % RecordSize == 0;
  for (std::size_t at = RecordSize - 1; valid && at < p.size(); at += RecordSize)
    valid = IsReadingLetter(static_cast<char>(p[at]));
  if (!valid) {
    Break();
    return true;
  }
  const std::size_t n = p.size() / RecordSize;
  if (Records() + n > limits_.Records) {
    stop = Stop::Limit;
    return false;
  }
  const std::size_t before = out_.records.size();
  try {
    for (std::size_t at = 0; at < p.size(); at += RecordSize) out_.records.push_back(DecodeRecord(p.data() + at));
  } catch (const std::bad_alloc&) {
    out_.records.resize(before);
    stop = Stop::NoMemory;
    return false;
  }
  now_.records += n;
  return true;
}

bool DataReader::Take_Sound(const ChunkScan& scan) {
  const uint64_t size = scan.payload.size();
  if (audio_ && now_.placed && now_.soundBase + now_.sound + size > limits_.SoundBytes) {
    stop = Stop::Limit;
    return false;
  }
  if (audio_ && size > 0) {
    try {
      out_.sound.push_back({scan.at, (now_.placed ? now_.soundBase : 0) + now_.sound, static_cast<uint32_t>(size)});
    } catch (const std::bad_alloc&) {
      stop = Stop::NoMemory;
      return false;
    }
  }
  now_.sound += size;
  return true;
}

bool DataReader::Place(const SecondMark& m) {
  // Where the sound stands is known from a mark that says how much the file held; without
  // sound only the records need placing.
  if (audio_ && !m.SoundWritten) return false;
  const uint64_t written = audio_ ? *m.SoundWritten : now_.sound;
  if (m.Records < now_.records || written < now_.sound) return false;
  const uint64_t recordBase = m.Records - now_.records, soundBase = written - now_.sound;
  // A stretch follows what came before it.
  if (recordBase < recordEnd_ || soundBase < soundEnd_) return false;
  if (audio_ && written > limits_.SoundBytes) return false;
  now_.placed = true;
  now_.recordBase = recordBase;
  now_.soundBase = soundBase;
  for (std::size_t i = now_.firstPiece; i < out_.sound.size(); ++i) out_.sound[i].start += soundBase;
  return true;
}

void DataReader::Take_Mark(const ChunkScan& scan) {
  const auto m = DecodeSecondMark(scan.payload.data(), scan.payload.size());
  if (!m || (!now_.placed && !Place(*m))) return;
  // The mark ends the recording well when its last record is one of this stretch and the
  // sound it counts is there (or was lost before: that reads as silence).
  if (m->Records == 0 || m->Records <= now_.recordBase || m->Records > now_.recordBase + now_.records ||
      m->SoundBytes > now_.soundBase + now_.sound)
    return;
  best_ = *m;
  bestRecords_ = now_.firstRecord - 1 + static_cast<std::size_t>(m->Records - now_.recordBase);
  marked = true;
  breaksBeforeEnd = breaks;
}

void DataReader::Finish() {
  if (!marked) {
    out_ = RecoveredRecording{};
    return;
  }
  out_.RecordCount = static_cast<int32_t>(bestRecords_);
  out_.Seconds = static_cast<int32_t>(best_.Seconds);
  out_.records.resize(bestRecords_ + 1);
  out_.TotalTimeMs = out_.records[bestRecords_].TimeMs;
  out_.SoundBytes = audio_ ? best_.SoundBytes & ~1u : 0;
  while (!out_.sound.empty() && out_.sound.back().start >= out_.SoundBytes) out_.sound.pop_back();
  out_.DamagedSeconds = Damaged_Seconds();
}

int32_t DataReader::Damaged_Seconds() const {
  // The stretches of time lost, in ms: records missing between two runs (from the record
  // after the one before the gap to the one after it), and sound not covered by a piece.
  std::vector<std::pair<int64_t, int64_t>> lost;
  int64_t recordsFrom = 0;  // the time after the last record kept so far
  uint64_t recordsTo = 0;   // and the records up to it
  for (const Run& run : runs_) {
    if (run.firstRecord > bestRecords_) break;
    if (run.recordBase > recordsTo) lost.emplace_back(recordsFrom, out_.records[run.firstRecord].TimeMs);
    const std::size_t last = std::min<std::size_t>(run.firstRecord + run.records - 1, bestRecords_);
    recordsFrom = int64_t{out_.records[last].TimeMs} + RecordMs;
    recordsTo = run.recordBase + run.records;
  }
  const auto soundMs = [](uint64_t bytes) { return static_cast<int64_t>(bytes * 1000 / SoundBytesPerSecond); };
  uint64_t soundTo = 0;
  for (const SoundPiece& piece : out_.sound) {
    if (piece.start > soundTo) lost.emplace_back(soundMs(soundTo), soundMs(piece.start));
    soundTo = std::max<uint64_t>(soundTo, piece.start + piece.size);
  }
  if (audio_ && soundTo < out_.SoundBytes) lost.emplace_back(soundMs(soundTo), soundMs(out_.SoundBytes));

  std::sort(lost.begin(), lost.end());
  int64_t total = 0, to = 0;
  for (auto [from, end] : lost) {
    from = std::max(from, to);
    if (end > from) {
      total += end - from;
      to = end;
    }
  }
  if (total == 0) return 0;
  const auto seconds = static_cast<int32_t>(std::max<int64_t>(1, (total + 500) / 1000));
  return std::min(seconds, out_.Seconds);
}

}  // namespace zk
