#pragma once
// Small helpers for recordings on disk (temporary folders come from TempFiles.h).
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempFiles.h"
#include "base/SampleRecord.h"

namespace zk::test {

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A buffer of `count` plain readings (element 0 unused), 20 ms apart.
inline std::vector<SampleRecord> Readings(int count) {
  std::vector<SampleRecord> buf(static_cast<std::size_t>(count) + 1);
  for (int k = 1; k <= count; ++k) {
    SampleRecord& r = buf[k];
    r.TimeMs = (k - 1) * 20;
    r.Raw = static_cast<int16_t>(k * 37 - 20000);
    r.Needle = static_cast<int16_t>(k % 2 ? -2503 : 1234);
    r.BdValue = static_cast<int16_t>(k / 3);
    r.BaseStep = static_cast<uint8_t>(k % 256);
    r.Sensitivity = static_cast<uint8_t>(k % 64);
    r.Flags = static_cast<uint8_t>(0x2D);
    r.Letter = k % 3 ? 'P' : 'O';
  }
  return buf;
}

}  // namespace zk::test
