#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/PairJournal.h"
#include "base/StaleTempFiles.h"

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
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) return old.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void SyncFolderOf(const std::string& path) {
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) folder = ".";
  const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
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

StagedFile::~StagedFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty() && !committed_) ::unlink(temp_.c_str());
}

FileError StagedFile::Open(const std::string& target) {
  if (target.empty()) return ErrnoError(ENOENT);
  const std::filesystem::path resolved = ResolveTarget(target);
  // Renaming over a FIFO or a device node would put a plain file in its place.
  struct stat existing {};
  if (::stat(resolved.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
    return S_ISDIR(existing.st_mode) ? ErrnoError(EISDIR) : FileError{EINVAL, "not a regular file"};
  std::filesystem::path folder = resolved.parent_path();
  if (folder.empty()) folder = ".";
  // A save or export killed half way here left its temporary file behind: the next one
  // into the same folder takes it away.
  RemoveStaleTempFiles(folder.string());
  std::string tmpl = (folder / TempFileTemplate(resolved.filename().string())).string();
  const int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return ErrnoError(errno);
  fd_ = fd;
  temp_ = tmpl;
  target_ = resolved.string();
  if (::fchmod(fd_, ModeFor(resolved)) != 0) return ErrnoError(errno);
  return {};
}

FileError StagedFile::Close() {
  if (fd_ < 0) return {};
  const int fd = fd_;
  fd_ = -1;
  return ::close(fd) != 0 ? ErrnoError(errno) : FileError{};
}

FileError StagedFile::Finish() {
  if (fd_ >= 0 && ::fsync(fd_) != 0) {
    const FileError err = ErrnoError(errno);
    Close();
    return err;
  }
  return Close();
}

FileError StagedFile::Commit() {
  if (temp_.empty()) return ErrnoError(EBADF);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return ErrnoError(errno);
  committed_ = true;
  return {};
}

namespace {

// A second name for the file at `target`, beside it and named as a temporary file, so the
// older file survives its replacement until the whole set is in; "" when there is no file
// or the file system has no hard links.
std::string BackUp(const std::string& target) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::filesystem::path p(target);
    std::string name = (p.parent_path() / TempFileTemplate(p.filename().string())).string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return "";
    ::close(fd);
    ::unlink(name.c_str());
    if (::link(target.c_str(), name.c_str()) == 0) return name;
    if (errno != EEXIST) return "";
  }
  return "";
}

void (*afterRename)(std::size_t) = nullptr;

}  // namespace

void SetAfterRenameHook(void (*hook)(std::size_t renamed)) { afterRename = hook; }

FileError CommitTogether(const std::vector<StagedFile*>& files) {
  // The last file needs none: when its rename fails, its target was not touched.
  std::vector<std::string> backups;
  for (std::size_t i = 0; i < files.size(); ++i)
    backups.push_back(i + 1 < files.size() ? BackUp(files[i]->Target()) : std::string());
  // More than one rename: a crash between them is completed at the next start.
  PairJournal journal;
  FileError err;
  if (files.size() > 1) {
    std::vector<JournalEntry> entries;
    for (std::size_t i = 0; i < files.size(); ++i)
      entries.push_back({files[i]->Target(), files[i]->TempPath(), backups[i]});
    err = journal.Write(entries);
  }
  std::size_t done = 0;
  for (; !err && done < files.size(); ++done) {
    if ((err = files[done]->Commit())) break;
    if (afterRename) afterRename(done + 1);
  }
  if (err) {
    for (std::size_t i = 0; i < done; ++i) {
      if (!backups[i].empty())
        ::rename(backups[i].c_str(), files[i]->Target().c_str());
      else
        ::unlink(files[i]->Target().c_str());
    }
  }
  for (const std::string& b : backups)
    if (!b.empty()) ::unlink(b.c_str());
  if (!err && !files.empty()) SyncFolderOf(files.front()->Target());
  return err;
}

FileError ReplaceFileAtomically(const std::string& path, const std::function<FileError(int fd)>& write) {
  StagedFile file;
  FileError err = file.Open(path);
  if (!err) err = write(file.Fd());
  if (!err) err = file.Finish();
  if (!err) err = CommitTogether({&file});
  return err;
}

FileError ReplaceFileThroughPath(const std::string& path,
                                 const std::function<FileError(const std::string& tempPath)>& write) {
  // The writer reopens the same file by its name, so the descriptor kept open here
  // syncs what it wrote.
  StagedFile file;
  FileError err = file.Open(path);
  if (!err) err = write(file.TempPath());
  if (!err) err = file.Finish();
  if (!err) err = CommitTogether({&file});
  return err;
}

bool WriteFileAtomically(const std::string& path, std::string_view content) {
  return !ReplaceFileAtomically(path, [&](int fd) { return WriteAll(fd, content.data(), content.size()); });
}

}  // namespace zk
