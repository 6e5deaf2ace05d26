#include "base/SmallFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zk {

namespace {

bool Acceptable(const struct stat& st, std::size_t maxBytes) {
  return S_ISREG(st.st_mode) && st.st_size >= 0 && static_cast<std::size_t>(st.st_size) <= maxBytes;
}

}  // namespace

SmallFileStatus ReadSmallFile(const std::string& path, std::string& text, std::size_t maxBytes) {
  text.clear();
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0)
    return errno == ENOENT || path.empty() ? SmallFileStatus::Missing : SmallFileStatus::Refused;
  if (!Acceptable(st, maxBytes)) return SmallFileStatus::Refused;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return errno == ENOENT ? SmallFileStatus::Missing : SmallFileStatus::Refused;
  SmallFileStatus status = SmallFileStatus::Read;
  if (::fstat(fd, &st) != 0 || !Acceptable(st, maxBytes)) status = SmallFileStatus::Refused;
  // A file that grows while it is read stops at the limit plus one byte, which refuses it.
  char buf[16 * 1024];
  while (status == SmallFileStatus::Read) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) status = SmallFileStatus::Refused;
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
    if (text.size() > maxBytes) status = SmallFileStatus::Refused;
  }
  ::close(fd);
  if (status != SmallFileStatus::Read) text.clear();
  return status;
}

}  // namespace zk
