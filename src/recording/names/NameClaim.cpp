#include "recording/names/NameClaim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "base/Numbers.h"
#include "recording/names/RecordNames.h"

namespace zk {

namespace {

constexpr int LastNumber = INT16_MAX;  // SuffixNum is kept as a 16-bit number
constexpr int DateNameTries = 99;

bool Taken(const std::string& path) {
  std::error_code ec;
  return std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found;
}

bool Free(const std::string& basePath) { return !Taken(basePath + ".zkd") && !Taken(basePath + ".wav"); }

std::string Numbered(const Settings& s, int n) { return s.SavePrefix + Format_000(n); }

}  // namespace

std::string Free_RecordName(const Settings& s, const DateTime& now) {
  if (s.SuffixType != 0) return New_RecordName(s, now);
  for (int n = std::max<int>(1, s.SuffixNum); n <= LastNumber; ++n)
    if (Free(Path_In(s.SavePath, Numbered(s, n)))) return Numbered(s, n);
  return New_RecordName(s, now);
}

NameClaim::~NameClaim() { Release(); }

FileError NameClaim::Claim(const Settings& s, const std::string& dateName) {
  Release();
  number_ = 0;
  FileError err = ErrnoError(EEXIST);
  if (s.SuffixType == 0) {
    for (int n = std::max<int>(1, s.SuffixNum); n <= LastNumber && err.number == EEXIST; ++n) {
      err = Try(s.SavePath, Numbered(s, n));
      if (!err) number_ = n;
    }
  } else {
    err = Try(s.SavePath, dateName);
    for (int k = 2; k <= DateNameTries && err.number == EEXIST; ++k)
      err = Try(s.SavePath, dateName + "_" + std::to_string(k));
  }
  return err;
}

FileError NameClaim::Try(const std::string& folder, const std::string& name) {
  name_ = name;
  base_ = Path_In(folder, name);
  if (Taken(base_ + ".wav")) return ErrnoError(EEXIST);
  const std::string zkd = base_ + ".zkd";
  const int fd = ::open(zkd.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return ErrnoError(errno);
  struct stat st {};
  ::fstat(fd, &st);
  ::close(fd);
  device_ = st.st_dev;
  inode_ = st.st_ino;
  held_ = true;
  return {};
}

// Only the empty file this claim made goes: never a recording saved over it meanwhile.
void NameClaim::Release() {
  if (!held_) return;
  held_ = false;
  const std::string zkd = base_ + ".zkd";
  struct stat st {};
  if (::lstat(zkd.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_ && st.st_size == 0)
    ::unlink(zkd.c_str());
}

}  // namespace zk
