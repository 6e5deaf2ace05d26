#include "zkd/RecordFile.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include "base/Clock.h"
#include "base/Numbers.h"
#include "zkd/RecordCodec.h"

namespace zk {

FileError WriteRecordFile(const std::string& zkdPath, const std::vector<SampleRecord>& buffer, int32_t recordCount,
                          const std::optional<RecordHeader>& header) {
  return ReplaceFileAtomically(zkdPath, [&](int fd) { return WriteRecords(fd, buffer, recordCount, header); });
}

FileError WriteRecords(int fd, const std::vector<SampleRecord>& buffer, int32_t recordCount,
                       const std::optional<RecordHeader>& header) {
  if (recordCount < 0 || (recordCount > 0 && static_cast<std::size_t>(recordCount) >= buffer.size()))
    return FileError{EINVAL, "The recording in memory holds fewer records than are to be written."};

  std::vector<uint8_t> image(static_cast<std::size_t>(recordCount) * RecordSize);
  for (int32_t k = 1; k <= recordCount; ++k) EncodeRecord(buffer[k], image.data() + (k - 1) * RecordSize);
  if (header) {
    if (recordCount >= 1)
      EncodeRecord(ClockHeaderRecord(buffer[1], header->ClockType, header->RecordStartSeconds), image.data());
    if (recordCount >= 2)
      EncodeRecord(DateHeaderRecord(buffer[2], header->DateType, header->RecordStartDay), image.data() + RecordSize);
  }
  return WriteAll(fd, image.data(), image.size());
}

int32_t RecordCountForLength(uint64_t length) {
  return static_cast<int32_t>(RoundHalfEven(static_cast<double>(length) / RecordSize));
}

bool Verify_zkd_Format(const uint8_t* data, std::size_t size) {
  for (std::size_t k = 1; k <= 5; ++k) {
    const std::size_t letterAt = k * RecordSize - 1;
    const char letter = letterAt < size ? static_cast<char>(data[letterAt]) : 0;
    if (!IsReadingLetter(letter)) return false;
  }
  return true;
}

ReadResult ReadRecords(RecordReader& reader, RecordFileData& out, LoadProgress* progress,
                       const std::function<void()>& onStep) {
  ReadResult result;
  int32_t count = reader.RecordCount();
  SampleRecord last;
  std::vector<SampleRecord> records;
  try {
    records.assign(static_cast<std::size_t>(count) + 1, SampleRecord{});
  } catch (const std::bad_alloc&) {
    result.status = ReadStatus::IoError;
    result.error = ErrnoError(ENOMEM);
    return result;
  }
  if (!reader.ReadAt(count, last)) {
    result.status = ReadStatus::IoError;
    result.error = reader.Error();
    return result;
  }
  if (progress) progress->Begin();

  // The bar grows in 50 steps, one per fiftieth of the records. A file of fewer than 50
  // records still gets a bar that ends full.
  const int32_t step = count / 50;
  int shown = 0;
  for (int32_t k = 1; k <= count; ++k) {
    if (!reader.Next(records[k])) break;
    int fiftieths = 0;
    if (step > 0) {
      if (k % step == 0) fiftieths = std::min<int32_t>(50, k / step);
    } else {
      const int32_t now = static_cast<int32_t>(int64_t{50} * k / count);
      const int32_t before = static_cast<int32_t>(int64_t{50} * (k - 1) / count);
      if (now != before) fiftieths = now;
    }
    if (fiftieths > shown) {
      shown = fiftieths;
      if (progress) progress->Show(fiftieths);
      if (onStep) onStep();
    }
  }
  if (reader.Error()) {
    result.status = ReadStatus::IoError;
    result.error = reader.Error();
    return result;
  }
  if (reader.Delivered() < count) {  // the file shrank while being read: take what is there
    count = reader.Delivered();
    records.resize(static_cast<std::size_t>(count) + 1);
    last = records[count];
  }

  out.records = std::move(records);
  out.RecordCount = count;
  out.TotalTimeMs = last.TimeMs;
  out.RecordStartSeconds = count >= 1 ? HeaderStartSeconds(out.records[1]) : 0;
  out.RecordStartDay = 0;
  out.RecordDate = DateSerial(1999, 12, 31);
  if (count >= 2 && out.records[2].Marker == 'D') {
    out.RecordStartDay = HeaderStartDay(out.records[2]);
    out.RecordDate += out.RecordStartDay;
  }
  return result;
}

ReadResult ReadRecordFile(const std::string& zkdPath, RecordFileData& out, LoadProgress* progress,
                          const std::function<void()>& onStep) {
  RecordReader reader;
  ReadResult result;
  result.status = reader.Open(zkdPath);
  result.error = reader.Error();
  if (result.status != ReadStatus::Ok) return result;
  return ReadRecords(reader, out, progress, onStep);
}

}  // namespace zk
