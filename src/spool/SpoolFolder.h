#pragma once
// A spool folder held by this instance. Holding means an exclusive flock on the folder's
// "lock" file for as long as the object lives; the kernel drops it when the process ends
// in any way, so a spool whose lock can be taken belongs to no running instance. Another
// instance started meanwhile never offers, takes over or deletes a held spool.
//
// A spool folder is a real folder of the user who runs the program: a link in the recovery
// folder, or a folder of another user, is never held, and nothing is ever done through a
// link to another place.
#include <memory>
#include <string>
#include <vector>

#include "base/AtomicFile.h"

namespace zk {

class SpoolFolder {
 public:
  // Makes the folder `name` in `recoveryFolder` (both created as needed) and holds it.
  static std::unique_ptr<SpoolFolder> Create(const std::string& recoveryFolder, const std::string& name,
                                             FileError& error);
  // Holds an existing spool folder; nullptr when another instance holds it, it is being
  // removed, or it is no real folder of this user. A lock file that has gone missing is
  // made anew.
  static std::unique_ptr<SpoolFolder> TryHold(const std::string& folder);
  // Releases the folder and leaves it as it is.
  ~SpoolFolder();
  SpoolFolder(const SpoolFolder&) = delete;
  SpoolFolder& operator=(const SpoolFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const char* name) const { return path_ + "/" + name; }

  // Deletes the spool: its files, then its lock, then the folder.
  void Remove();
  // Renames the folder "damaged-..." beside itself, where it is kept for the user and never
  // offered again; answers the new path (the old one when the rename failed).
  std::string SetAside();

 private:
  SpoolFolder(std::string path, int folderFd, int lockFd)
      : path_(std::move(path)), folderFd_(folderFd), lockFd_(lockFd) {}
  std::string path_;
  int folderFd_ = -1;  // the folder itself, opened without following a link
  int lockFd_ = -1;
};

// The spools in `recoveryFolder` that no running instance holds, oldest first, each now
// held by this instance.
std::vector<std::unique_ptr<SpoolFolder>> HoldOrphanSpools(const std::string& recoveryFolder);

}  // namespace zk
