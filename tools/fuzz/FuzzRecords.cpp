// libFuzzer target for the ".zkd" reader alone, without the tool's reports (FuzzRecording.cpp
// has those): any bytes go through loading as the program loads a recording, and through
// the streaming reader the tool and the plot use. Nothing may crash, and the two must
// agree: the same verdict, the same count, the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzFile.h"
#include "zkd/RecordCodec.h"
#include "zkd/RecordFile.h"
#include "zkd/RecordReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zk::fuzz::FuzzFile file;
  const std::string& path = file.Hold(data, size);

  zk::RecordFileData loaded;
  const zk::ReadResult r = zk::ReadRecordFile(path, loaded);
  zk::RecordReader reader;
  const zk::ReadStatus opened = reader.Open(path);
  if ((r.status == zk::ReadStatus::Ok) != (opened == zk::ReadStatus::Ok)) std::abort();
  if (opened != zk::ReadStatus::Ok) return 0;
  if (loaded.RecordCount != reader.RecordCount()) std::abort();

  zk::SampleRecord streamed;
  uint8_t a[zk::RecordSize], b[zk::RecordSize];
  for (int32_t k = 1; reader.Next(streamed); ++k) {
    if (k > loaded.RecordCount) std::abort();
    zk::EncodeRecord(streamed, a);
    zk::EncodeRecord(loaded.records[static_cast<std::size_t>(k)], b);
    if (std::memcmp(a, b, sizeof a) != 0) std::abort();
  }
  if (reader.Delivered() != loaded.RecordCount) std::abort();
  return 0;
}
