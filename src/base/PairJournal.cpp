#include "base/PairJournal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "base/StaleTempFiles.h"

namespace zk {

namespace {

constexpr const char* JournalSuffix = ".pair";
constexpr const char* Header = "zk-pair 1\n";
constexpr const char* Trailer = "end\n";
// A journal names a few files: anything longer is none of ours.
constexpr off_t MaxJournalSize = 64 * 1024;

std::string NameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

void SyncFolder(const std::string& folder) {
  const int dfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) return;
  ::fsync(dfd);
  ::close(dfd);
}

// The header, then target, temporary file and backup of each entry, each ended by a NUL
// (a file name may hold any other character), then the trailer.
std::string Encode(const std::vector<JournalEntry>& entries) {
  std::string text = Header;
  for (const JournalEntry& e : entries)
    for (const std::string* s : {&e.target, &e.temp, &e.backup}) {
      text += *s;
      text.push_back('\0');
    }
  return text + Trailer;
}

std::optional<std::vector<JournalEntry>> Decode(const std::string& text) {
  const std::string header = Header, trailer = Trailer;
  if (text.size() < header.size() + trailer.size() || text.compare(0, header.size(), header) != 0 ||
      text.compare(text.size() - trailer.size(), trailer.size(), trailer) != 0)
    return std::nullopt;
  std::vector<std::string> fields;
  std::size_t at = header.size();
  const std::size_t end = text.size() - trailer.size();
  while (at < end) {
    const std::size_t nul = text.find('\0', at);
    if (nul == std::string::npos || nul >= end) return std::nullopt;
    fields.push_back(text.substr(at, nul - at));
    at = nul + 1;
  }
  if (fields.empty() || fields.size() % 3 != 0) return std::nullopt;
  std::vector<JournalEntry> entries;
  for (std::size_t i = 0; i < fields.size(); i += 3) {
    if (fields[i].empty() || fields[i + 1].empty()) return std::nullopt;
    entries.push_back({fields[i], fields[i + 1], fields[i + 2]});
  }
  return entries;
}

std::optional<std::vector<JournalEntry>> ReadJournal(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > MaxJournalSize) return std::nullopt;
  std::string text(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = ::pread(fd, text.data() + got, text.size() - got, static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    got += static_cast<std::size_t>(n);
  }
  return Decode(text);
}

void AddNames(const std::vector<JournalEntry>& entries, std::set<std::string>& names) {
  for (const JournalEntry& e : entries) {
    names.insert(NameOf(e.temp));
    if (!e.backup.empty()) names.insert(NameOf(e.backup));
  }
}

bool IsPlainFile(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Completes the journal at `path`; answers false when it is held or could not be completed.
bool RestoreOne(const std::string& path, std::set<std::string>& kept) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  struct stat held {
  }, now{};
  const auto entries = ReadJournal(fd);
  if (entries) AddNames(*entries, kept);
  // Held by a save under way, or already gone and replaced by another: not ours to touch.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 || ::stat(path.c_str(), &now) != 0 ||
      held.st_ino != now.st_ino || held.st_dev != now.st_dev || !entries) {
    ::close(fd);
    return false;
  }
  bool whole = true;
  for (const JournalEntry& e : *entries)
    if (IsPlainFile(e.temp) && ::rename(e.temp.c_str(), e.target.c_str()) != 0) whole = false;
  if (whole) {
    for (const JournalEntry& e : *entries)
      if (!e.backup.empty()) ::unlink(e.backup.c_str());
    SyncFolder(std::filesystem::path(entries->back().target).parent_path().string());
    ::unlink(path.c_str());
  }
  ::close(fd);
  if (whole)
    for (const JournalEntry& e : *entries) {
      kept.erase(NameOf(e.temp));
      if (!e.backup.empty()) kept.erase(NameOf(e.backup));
    }
  return whole;
}

template <typename Each>
void ForEachJournal(const std::string& folder, Each each) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(dir))
    if (IsJournalName(e->d_name)) names.emplace_back(e->d_name);
  ::closedir(dir);
  for (const std::string& n : names) each((std::filesystem::path(folder) / n).string());
}

}  // namespace

std::string JournalPathFor(const std::string& lastTarget) {
  const std::filesystem::path p(lastTarget);
  return (p.parent_path() / ("." + p.filename().string() + JournalSuffix)).string();
}

bool IsJournalName(const std::string& fileName) {
  const std::string suffix = JournalSuffix;
  return fileName.size() > 1 + suffix.size() && fileName[0] == '.' &&
         fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) == 0;
}

PairJournal::~PairJournal() {
  if (!path_.empty()) ::unlink(path_.c_str());
  if (fd_ >= 0) ::close(fd_);  // the lock goes with it
}

FileError PairJournal::Write(const std::vector<JournalEntry>& entries) {
  if (entries.empty()) return {};
  const std::string path = JournalPathFor(entries.back().target);
  const std::filesystem::path target(entries.back().target);
  // Written, locked and synced under a temporary name, then linked into place whole: a
  // journal is never seen half written, nor unlocked while its save runs.
  std::string temp = (target.parent_path() / TempFileTemplate(target.filename().string())).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return ErrnoError(errno);
  const std::string text = Encode(entries);
  FileError err;
  if (::flock(fd, LOCK_EX) != 0) err = ErrnoError(errno);
  if (!err) err = WriteAll(fd, text.data(), text.size());
  if (!err && ::fsync(fd) != 0) err = ErrnoError(errno);
  if (!err && ::link(temp.c_str(), path.c_str()) != 0) {
    // One a crash left behind: completed first, then this one takes its place.
    const int e = errno;
    std::set<std::string> kept;
    if (e != EEXIST || !RestoreOne(path, kept) || ::link(temp.c_str(), path.c_str()) != 0) err = ErrnoError(e);
  }
  ::unlink(temp.c_str());
  if (err) {
    ::close(fd);
    return err;
  }
  SyncFolder(target.parent_path().string());
  fd_ = fd;
  path_ = path;
  return {};
}

std::set<std::string> RestorePairs(const std::string& folder) {
  std::set<std::string> kept;
  ForEachJournal(folder, [&](const std::string& path) { RestoreOne(path, kept); });
  return kept;
}

std::set<std::string> FilesNamedByJournals(const std::string& folder) {
  std::set<std::string> names;
  ForEachJournal(folder, [&](const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    if (const auto entries = ReadJournal(fd)) AddNames(*entries, names);
    ::close(fd);
  });
  return names;
}

void RestorePairsAndSweep(const std::string& folder) {
  RestorePairs(folder);
  RemoveStaleTempFiles(folder);
}

}  // namespace zk
