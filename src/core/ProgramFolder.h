#pragma once
#include <string>

namespace zk {

// The program folder: the folder given with --home, else the executable's own folder.
// Path pieces are joined with "/".
std::string ProgramFolder(const std::string& homeOption, const std::string& argv0);
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace zk
