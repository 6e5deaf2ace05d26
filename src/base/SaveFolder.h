#pragma once
// The folder new recordings go to when the settings name none: the user's documents
// folder as the desktop's own settings give it, created when missing. The program folder
// is never chosen: for an installed copy that is a hidden per-user settings folder the
// user would not look in.
#include <string>

namespace zk {

// `documents` is the desktop's documents folder (empty when it names none), `home` the
// user's home folder. Returns the folder with a final "/", created when missing; the
// documents folder when it is usable, else home's "Documents". Empty when no such folder
// exists or can be made, or when the one found is the program folder itself.
std::string Default_Save_Folder(const std::string& documents, const std::string& home,
                                const std::string& programFolder);

}  // namespace zk
