#include "spool/SpoolFolder.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "base/StaleTempFiles.h"
#include "spool/SpoolFormat.h"

namespace zk {

namespace {

// Opens `path` as a folder of this user's own, never through a link; -1 otherwise.
int OpenOwnFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The lock on `lockFd` counts only while the folder still holds that very file under its
// name: a spool being removed unlinks its lock file while holding it, and whoever opened
// the file just before would otherwise get a lock on a file that no longer belongs to any
// spool.
bool StillLinked(int folderFd, int lockFd) {
  struct stat held {
  }, named{};
  return ::fstat(lockFd, &held) == 0 && ::fstatat(folderFd, SpoolFiles::Lock, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
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
  const int folderFd = OpenOwnFolder(path);
  const int fd = folderFd < 0
                     ? -1
                     : ::openat(folderFd, SpoolFiles::Lock, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    // Another instance took the new folder for an abandoned one and holds it: it will
    // find it empty and remove it. Otherwise the empty folder goes now.
    error = ErrnoError(errno);
    if (fd >= 0) ::close(fd);
    if (folderFd >= 0) ::close(folderFd);
    ::rmdir(path.c_str());
    return nullptr;
  }
  return std::unique_ptr<SpoolFolder>(new SpoolFolder(path, folderFd, fd));
}

std::unique_ptr<SpoolFolder> SpoolFolder::TryHold(const std::string& folder) {
  const int folderFd = OpenOwnFolder(folder);
  if (folderFd < 0) return nullptr;
  // A spool whose lock file has gone (removed by hand, or lost with a damaged file
  // system) is as abandoned as one whose lock nobody holds.
  const int fd = ::openat(folderFd, SpoolFiles::Lock, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || !StillLinked(folderFd, fd)) {
    if (fd >= 0) ::close(fd);
    ::close(folderFd);
    return nullptr;
  }
  return std::unique_ptr<SpoolFolder>(new SpoolFolder(folder, folderFd, fd));
}

SpoolFolder::~SpoolFolder() {
  if (lockFd_ >= 0) ::close(lockFd_);
  if (folderFd_ >= 0) ::close(folderFd_);
}

void SpoolFolder::Remove() {
  // Relative to the folder opened at the start: the files deleted are the spool's own,
  // whatever has been put in the folder's place since.
  for (const char* name : SpoolFiles::All) ::unlinkat(folderFd_, name, 0);
  // A notes write cut short by a crash leaves its temporary file, which would keep the
  // folder from going: named as the atomic writer names it, six characters in place of X.
  const std::string notesTemp = TempFileTemplate(SpoolFiles::Notes);
  const std::string stem = notesTemp.substr(0, notesTemp.find_last_not_of('X') + 1);
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(path_, ec)) {
    const std::string name = e.path().filename().string();
    if (name.size() == notesTemp.size() && name.rfind(stem, 0) == 0) ::unlinkat(folderFd_, name.c_str(), 0);
  }
  ::unlinkat(folderFd_, SpoolFiles::Lock, 0);
  ::rmdir(path_.c_str());  // refuses anything but an empty folder
}

std::string SpoolFolder::SetAside() {
  const std::filesystem::path p(path_);
  std::string base = p.filename().string();
  if (base.rfind(SpoolPrefix, 0) == 0) base = base.substr(std::char_traits<char>::length(SpoolPrefix));
  const std::string target = (p.parent_path() / (DamagedPrefix + base)).string();
  // Never in place of a spool set aside before under the same name.
  for (int n = 1; n < 100; ++n) {
    const std::string name = n == 1 ? target : target + "-" + std::to_string(n);
    if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
      path_ = name;
      break;
    }
    if (errno != EEXIST) break;
  }
  return path_;
}

std::vector<std::unique_ptr<SpoolFolder>> HoldOrphanSpools(const std::string& recoveryFolder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(recoveryFolder, ec)) {
    const std::string name = entry.path().filename().string();
    // The entry itself, not what a link leads to.
    if (name.rfind(SpoolPrefix, 0) == 0 && entry.symlink_status(ec).type() == std::filesystem::file_type::directory)
      names.push_back(name);
  }
  // The names carry the start date and time, so their order is the order of recording.
  std::sort(names.begin(), names.end());
  std::vector<std::unique_ptr<SpoolFolder>> held;
  for (const auto& name : names)
    if (auto folder = SpoolFolder::TryHold(recoveryFolder + "/" + name)) held.push_back(std::move(folder));
  return held;
}

}  // namespace zk
