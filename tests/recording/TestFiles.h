#pragma once
// A private temporary folder per test and small helpers for recordings on disk.
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/SampleRecord.h"

namespace zk::test {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zkrec.XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// While alive, no file can grow beyond `bytes`: writes past it fail as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim = old_;
    lim.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lim);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
