#include "base/StaleTempFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <ctime>

#include "base/PairJournal.h"

namespace zk {

namespace {

constexpr const char* TempSuffix = ".XXXXXX";
constexpr std::size_t TempLetters = 6;

bool EndsWithNoCase(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && std::equal(end.rbegin(), end.rend(), s.rbegin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

std::string TempFileTemplate(const std::string& fileName) { return "." + fileName + TempSuffix; }

bool IsOurTempFile(const std::string& fileName) {
  // "." + target + "." + six letters or digits, with a target of at least one character
  // before its extension.
  if (fileName.size() < 1 + 5 + 1 + TempLetters || fileName[0] != '.') return false;
  const std::size_t dot = fileName.size() - TempLetters - 1;
  if (fileName[dot] != '.') return false;
  if (!std::all_of(fileName.begin() + static_cast<std::ptrdiff_t>(dot) + 1, fileName.end(),
                   [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
    return false;
  const std::string target = fileName.substr(1, dot - 1);
  // A writer handed a temporary file's path replaces that file through a temporary file
  // of its own: ". + .Run_001.wav.a1B2c3 + .d4E5f6".
  if (IsOurTempFile(target)) return true;
  if (target.size() <= 4) return false;
  for (const char* ours : {".wav", ".zkd", ".csv", ".edf", ".png"})
    if (EndsWithNoCase(target, ours)) return true;
  return false;
}

int RemoveStaleTempFiles(const std::string& folder, std::chrono::seconds age) {
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) return 0;
  DIR* dir = ::fdopendir(folderFd);
  if (!dir) {
    ::close(folderFd);
    return 0;
  }
  const std::time_t before = std::time(nullptr) - static_cast<std::time_t>(age.count());
  // A file a journal names belongs to a pair not yet whole: it may be all that is left of
  // one of its files.
  const std::set<std::string> journaled = FilesNamedByJournals(folder);
  int removed = 0;
  while (const dirent* e = ::readdir(dir)) {
    if (!IsOurTempFile(e->d_name) || journaled.count(e->d_name) != 0) continue;
    struct stat st {};
    if (::fstatat(folderFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_uid != ::getuid() || st.st_mtime > before) continue;
    if (::unlinkat(folderFd, e->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);  // closes folderFd too
  return removed;
}

}  // namespace zk
