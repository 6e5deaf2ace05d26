#include "spool/SpoolFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "spool/SpoolFormat.h"

namespace zk {

namespace {

// The lock on `fd` counts only while `lockPath` still names that file: a spool being
// removed unlinks its lock file while holding it, and whoever opened the file just before
// would otherwise get a lock on a file that no longer belongs to any spool.
bool StillLinked(int fd, const std::string& lockPath) {
  struct stat held {
  }, named{};
  return ::fstat(fd, &held) == 0 && ::stat(lockPath.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

}  // namespace

std::unique_ptr<SpoolFolder> SpoolFolder::Create(const std::string& recoveryFolder, const std::string& name,
                                                 FileError& error) {
  std::error_code ec;
  std::filesystem::create_directories(recoveryFolder, ec);
  const std::string path = recoveryFolder + "/" + name;
  if (::mkdir(path.c_str(), 0700) != 0) {
    error = ErrnoError(errno);
    return nullptr;
  }
  const std::string lockPath = path + "/" + SpoolFiles::Lock;
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    error = ErrnoError(errno);
    if (fd >= 0) ::close(fd);
    ::unlink(lockPath.c_str());
    ::rmdir(path.c_str());
    return nullptr;
  }
  return std::unique_ptr<SpoolFolder>(new SpoolFolder(path, fd));
}

std::unique_ptr<SpoolFolder> SpoolFolder::TryHold(const std::string& folder) {
  const std::string lockPath = folder + "/" + SpoolFiles::Lock;
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return nullptr;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !StillLinked(fd, lockPath)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<SpoolFolder>(new SpoolFolder(folder, fd));
}

SpoolFolder::~SpoolFolder() {
  if (lockFd_ >= 0) ::close(lockFd_);
}

void SpoolFolder::Remove() {
  for (const char* name : SpoolFiles::All) ::unlink(File(name).c_str());
  ::unlink(File(SpoolFiles::Lock).c_str());
  ::rmdir(path_.c_str());
}

std::string SpoolFolder::SetAside() {
  const std::filesystem::path p(path_);
  std::string base = p.filename().string();
  if (base.rfind(SpoolPrefix, 0) == 0) base = base.substr(std::char_traits<char>::length(SpoolPrefix));
  const std::string target = (p.parent_path() / (DamagedPrefix + base)).string();
  if (::rename(path_.c_str(), target.c_str()) != 0) return path_;
  path_ = target;
  return path_;
}

std::vector<std::unique_ptr<SpoolFolder>> HoldOrphanSpools(const std::string& recoveryFolder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(recoveryFolder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(SpoolPrefix, 0) == 0 && entry.is_directory(ec)) names.push_back(name);
  }
  // The names carry the start date and time, so their order is the order of recording.
  std::sort(names.begin(), names.end());
  std::vector<std::unique_ptr<SpoolFolder>> held;
  for (const auto& name : names)
    if (auto folder = SpoolFolder::TryHold(recoveryFolder + "/" + name)) held.push_back(std::move(folder));
  return held;
}

}  // namespace zk
