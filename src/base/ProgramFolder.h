#pragma once
// Where the program keeps its files.
//
// The program folder holds the session file and the default settings file. It is the
// folder given with --home; else the executable's own folder when that folder may be
// written and is not an installed bin folder (the build folder, a portable copy); else the
// per-user folder $XDG_CONFIG_HOME/zk3-zodovaz (~/.config/zk3-zodovaz), created on the
// first start. Path pieces are joined with "/".
#include <string>

namespace zk {

inline constexpr const char* SilentTrackFileName = "dummy.mp3";

std::string ProgramFolder(const std::string& homeOption, const std::string& argv0);
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder of the running executable (argv0 is the fallback when /proc is missing).
std::string ExecutableFolder(const std::string& argv0 = "");

// The choice made when no --home is given, for an executable in exeFolder. Creates the
// per-user folder when it chooses that one; a folder that cannot be created is still
// returned (saving the session file then reports the failure).
std::string ChooseProgramFolder(const std::string& exeFolder);

// The per-user folder, from XDG_CONFIG_HOME or HOME; not created here.
std::string UserProgramFolder();

// The folder an installed copy keeps its shared files in: share/zodovaz beside the bin
// folder holding exeFolder.
std::string InstalledDataFolder(const std::string& exeFolder);

// The silent timing track: in the program folder, else beside the executable, else in the
// installed data folder. When none exists, the program folder's path (so a failure names
// the first place looked in).
std::string FindSilentTrack(const std::string& programFolder, const std::string& exeFolder);
std::string FindSilentTrack(const std::string& programFolder);

// The folder the load dialog opens in until the user picks another, with a final "/":
// "samples" in the program folder when it exists (a build-tree run, a portable copy),
// else the installed data folder's "samples" when that exists (an installed copy, whose
// program folder is the per-user one), else the program folder's "samples".
std::string SamplesFolder(const std::string& programFolder, const std::string& exeFolder);

}  // namespace zk
