#include "base/ProgramFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace zk {

namespace fs = std::filesystem;

namespace {

// A folder the program may keep its files in. Root passes every permission check, so a
// folder without any write permission bit counts as read-only for root too.
bool FolderWritable(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return (st.st_mode & 0222) != 0 && ::access(folder.c_str(), W_OK) == 0;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* pw = ::getpwuid(::getuid());
  return pw && pw->pw_dir ? pw->pw_dir : "";
}

}  // namespace

std::string ProgramFolder(const std::string& homeOption, const std::string& argv0) {
  if (!homeOption.empty()) {
    std::error_code ec;
    fs::path p = fs::absolute(homeOption, ec);
    return (ec ? fs::path(homeOption) : p).lexically_normal().string();
  }
  return ChooseProgramFolder(ExecutableFolder(argv0));
}

std::string ExecutableFolder(const std::string& argv0) {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) exe = fs::absolute(argv0, ec);
  return exe.parent_path().lexically_normal().string();
}

std::string ChooseProgramFolder(const std::string& exeFolder) {
  // An installed copy keeps per-user files out of its bin folder even where that folder
  // may be written (root, or a prefix inside the user's home).
  if (FolderWritable(exeFolder) && !Exists(InstalledDataFolder(exeFolder))) return exeFolder;
  const std::string folder = UserProgramFolder();
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) std::cerr << "zodovaz: cannot create the folder " << folder << ": " << ec.message() << "\n";
  return folder;
}

std::string UserProgramFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
  const std::string base = xdg && *xdg == '/' ? std::string(xdg) : JoinPath(HomeFolder(), ".config");
  return fs::path(JoinPath(base, "zk3-zodovaz")).lexically_normal().string();
}

std::string InstalledDataFolder(const std::string& exeFolder) {
  return (fs::path(exeFolder) / ZK_DATA_FROM_BIN).lexically_normal().string();
}

std::string FindSilentTrack(const std::string& programFolder, const std::string& exeFolder) {
  for (const std::string& folder : {programFolder, exeFolder, InstalledDataFolder(exeFolder)}) {
    const std::string path = JoinPath(folder, SilentTrackFileName);
    if (Exists(path)) return path;
  }
  return JoinPath(programFolder, SilentTrackFileName);
}

std::string FindSilentTrack(const std::string& programFolder) {
  return FindSilentTrack(programFolder, ExecutableFolder());
}

std::string SamplesFolder(const std::string& programFolder, const std::string& exeFolder) {
  std::error_code ec;
  for (const std::string& folder : {programFolder, InstalledDataFolder(exeFolder)}) {
    const std::string samples = JoinPath(folder, "samples/");
    if (fs::is_directory(samples, ec)) return samples;
  }
  return JoinPath(programFolder, "samples/");
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace zk
