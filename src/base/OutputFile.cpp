#include "base/OutputFile.h"

#include <sys/stat.h>

namespace zk {

std::string OutputRefusal(const std::string& output, const std::vector<std::string>& inputs) {
  struct stat out {};
  if (::stat(output.c_str(), &out) != 0) return "";  // a new file (or a dangling link to one)
  if (!S_ISREG(out.st_mode)) return S_ISDIR(out.st_mode) ? "is a folder" : "is not a regular file";
  for (const std::string& input : inputs) {
    struct stat in {};
    if (::stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino)
      return "is the same file as " + input;
  }
  return "";
}

}  // namespace zk
