// libFuzzer target for the recording reader: any bytes as a ".zkd" go through the file
// part of loading (the format check, the record count, every record, the header values)
// and through what `zodovaz-zkd info`, `csv` and `verify` compute from them. Nothing may
// crash, and a file the check passes must read back as many records as it counts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "FuzzFile.h"
#include "ZkdTool.h"
#include "zkd/RecordFile.h"
#include "zkd/RecordReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zk::fuzz::FuzzFile file;
  const std::string& path = file.Hold(data, size);

  zk::RecordFileData loaded;
  const zk::ReadResult r = zk::ReadRecordFile(path, loaded);
  if (r.status == zk::ReadStatus::Ok) {
    if (loaded.RecordCount != zk::RecordCountForLength(size)) std::abort();
    if (loaded.records.size() != static_cast<size_t>(loaded.RecordCount) + 1) std::abort();
  }

  std::ostringstream out, err;
  const int info = zk::zkd::Info(path, out, err);
  if ((info == 0) != (r.status == zk::ReadStatus::Ok)) std::abort();  // the tool judges as loading does
  zk::zkd::Csv(path, out, err);
  zk::zkd::Verify(path, out, err);
  return 0;
}
