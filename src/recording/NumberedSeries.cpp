#include "recording/NumberedSeries.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace zk {

namespace fs = std::filesystem;

bool Is_Series_File(const std::string& fileName, const std::string& prefix, const std::string& ext) {
  constexpr std::size_t digits = 3;
  if (fileName.size() != prefix.size() + digits + ext.size()) return false;
  if (fileName.compare(0, prefix.size(), prefix) != 0) return false;
  if (fileName.compare(prefix.size() + digits, ext.size(), ext) != 0) return false;
  for (std::size_t i = prefix.size(); i < prefix.size() + digits; ++i)
    if (fileName[i] < '0' || fileName[i] > '9') return false;
  return true;
}

void Delete_Series(const std::string& folder, const std::string& prefix) {
  if (folder.empty()) return;  // no save folder: never the working directory
  for (const char* ext : {".wav", ".zkd"}) {
    std::vector<fs::path> doomed;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code typeError;
      if (it->is_regular_file(typeError) && Is_Series_File(it->path().filename().string(), prefix, ext))
        doomed.push_back(it->path());
    }
    for (const fs::path& p : doomed) fs::remove(p, ec);
  }
}

}  // namespace zk
