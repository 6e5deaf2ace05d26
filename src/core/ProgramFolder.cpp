#include "core/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace zk {

std::string ProgramFolder(const std::string& homeOption, const std::string& argv0) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!homeOption.empty()) {
    fs::path p = fs::absolute(homeOption, ec);
    return (ec ? fs::path(homeOption) : p).lexically_normal().string();
  }
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) exe = fs::absolute(argv0, ec);
  return exe.parent_path().lexically_normal().string();
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace zk
