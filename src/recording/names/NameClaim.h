#pragma once
// Automatic names of new recordings that are free in the save folder, and claiming one so
// that no other save — of this or of another copy of the program running on the same
// folder — takes it at the same time.
//
// A name is free when neither its ".zkd" nor its ".wav" exists. It is claimed by creating
// its ".zkd", empty, exclusively (which only one process can do); the save then replaces
// that empty file, or the claim removes it again when the save fails.
#include <string>

#include "base/AtomicFile.h"
#include "base/Clock.h"
#include "core/Settings.h"

namespace zk {

// The name a recording started at `now` will most likely be saved under: the first free
// number from SuffixNum on, or the date and time name. Looks at the folder, claims nothing.
std::string Free_RecordName(const Settings& s, const DateTime& now);

class NameClaim {
 public:
  NameClaim() = default;
  NameClaim(const NameClaim&) = delete;
  NameClaim& operator=(const NameClaim&) = delete;
  ~NameClaim();  // releases a claim that was not kept

  // Claims a name in s.SavePath: for the numeric suffix the first free number from
  // SuffixNum on; for the date suffix `dateName`, or, when that is taken, `dateName`
  // followed by "_2", "_3" ... On failure Base_Path() is the name that could not be had.
  FileError Claim(const Settings& s, const std::string& dateName);

  const std::string& Name() const { return name_; }
  const std::string& Base_Path() const { return base_; }
  // The series number claimed; 0 for a date name.
  int Number() const { return number_; }
  // The save replaced the claimed file: it stays.
  void Keep() { held_ = false; }

 private:
  // Tries one name; EEXIST when it is taken.
  FileError Try(const std::string& folder, const std::string& name);
  void Release();

  std::string name_, base_;
  int number_ = 0;
  bool held_ = false;
  unsigned long long device_ = 0, inode_ = 0;
};

}  // namespace zk
