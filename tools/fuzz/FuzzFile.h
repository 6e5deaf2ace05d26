#pragma once
// The fuzz input as a file the readers can open by name: an anonymous in-memory file,
// rewritten for each input, reached through /proc/self/fd.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace zk::fuzz {

class FuzzFile {
 public:
  FuzzFile() : fd_(::memfd_create("zk-fuzz", MFD_CLOEXEC)), path_("/proc/self/fd/" + std::to_string(fd_)) {}
  ~FuzzFile() { ::close(fd_); }
  // Replaces the contents with `data`; answers the path to open.
  const std::string& Hold(const uint8_t* data, size_t size) {
    if (::ftruncate(fd_, 0) != 0) return path_;
    size_t done = 0;
    while (done < size) {
      const ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    return path_;
  }

 private:
  int fd_;
  std::string path_;
};

}  // namespace zk::fuzz
