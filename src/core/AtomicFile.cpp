#include "core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/StaleTempFiles.h"

namespace zk {

namespace {

// The file a write to `path` should replace: the target of a symbolic link, else the
// path itself.
std::filesystem::path ResolveTarget(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p(path);
  for (int hops = 0; hops < 16 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
    fs::path link = fs::read_symlink(p, ec);
    if (ec) break;
    p = link.is_absolute() ? link : p.parent_path() / link;
  }
  return p;
}

// A replaced file keeps its permissions; a new one gets the usual 0666 less umask.
mode_t ModeFor(const std::filesystem::path& target) {
  struct stat old{};
  if (::stat(target.c_str(), &old) == 0) return old.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

FileError ErrnoError(int err) { return FileError{err, std::strerror(err)}; }

FileError WriteAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoError(errno);
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return {};
}

namespace {

// Makes a temporary file beside the target of `path`, hands its descriptor and name to
// `write`, then syncs it and renames it over the target; removes it on any failure.
FileError ReplaceThroughTemporary(const std::string& path,
                                  const std::function<FileError(int fd, const std::string& tempPath)>& write) {
  if (path.empty()) return ErrnoError(ENOENT);
  const std::filesystem::path target = ResolveTarget(path);
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  std::string tmpl = (folder / TempFileTemplate(target.filename().string())).string();
  int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return ErrnoError(errno);

  FileError err;
  if (::fchmod(fd, ModeFor(target)) != 0) err = ErrnoError(errno);
  if (!err) err = write(fd, tmpl);
  if (!err && ::fsync(fd) != 0) err = ErrnoError(errno);
  if (::close(fd) != 0 && !err) err = ErrnoError(errno);
  if (!err && ::rename(tmpl.c_str(), target.c_str()) != 0) err = ErrnoError(errno);
  if (err) {
    ::unlink(tmpl.c_str());
    return err;
  }
  // Make the rename itself durable.
  int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return {};
}

}  // namespace

FileError ReplaceFileAtomically(const std::string& path, const std::function<FileError(int fd)>& write) {
  return ReplaceThroughTemporary(path, [&](int fd, const std::string&) { return write(fd); });
}

FileError ReplaceFileThroughPath(const std::string& path,
                                 const std::function<FileError(const std::string& tempPath)>& write) {
  // The writer reopens the same file by its name, so the descriptor kept open here
  // syncs what it wrote.
  return ReplaceThroughTemporary(path, [&](int, const std::string& tempPath) { return write(tempPath); });
}

bool WriteFileAtomically(const std::string& path, std::string_view content) {
  return !ReplaceFileAtomically(path, [&](int fd) { return WriteAll(fd, content.data(), content.size()); });
}

}  // namespace zk
