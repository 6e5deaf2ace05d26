#include "base/SaveFolder.h"

#include <filesystem>
#include <system_error>

namespace zk {

namespace fs = std::filesystem;

namespace {

// The folder made absolute and without a final separator, for comparing.
fs::path Normal(const std::string& folder) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::absolute(folder, ec), ec);
  if (!p.empty() && !p.has_filename()) p = p.parent_path();
  return p;
}

// The folder, created when missing; false when it is no folder or cannot be made.
bool Usable(const std::string& folder, const std::string& programFolder) {
  if (folder.empty()) return false;
  if (!programFolder.empty() && Normal(folder) == Normal(programFolder)) return false;
  std::error_code ec;
  if (!fs::exists(folder, ec)) fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}

std::string WithSlash(const std::string& folder) { return folder.back() == '/' ? folder : folder + "/"; }

}  // namespace

std::string Default_Save_Folder(const std::string& documents, const std::string& home,
                                const std::string& programFolder) {
  if (Usable(documents, programFolder)) return WithSlash(Normal(documents).string());
  if (home.empty()) return "";
  const std::string fallback = (fs::path(home) / "Documents").string();
  if (Usable(fallback, programFolder)) return WithSlash(Normal(fallback).string());
  return "";
}

}  // namespace zk
