#pragma once
// The numbered series of recordings of one prefix: prefix001, prefix002, … each with its
// ".zkd" and, when recorded with sound, its ".wav".
#include <string>

namespace zk {

// True when `fileName` is `prefix` followed by exactly three digits and `ext` (".zkd").
bool Is_Series_File(const std::string& fileName, const std::string& prefix, const std::string& ext);

// Deletes every ".wav" and then every ".zkd" of the series `prefix` in `folder` (which ends
// in "/"). Other files, including other recordings whose names merely start with the
// prefix, stay. Files that cannot be deleted are left; an empty or missing folder deletes nothing.
void Delete_Series(const std::string& folder, const std::string& prefix);

}  // namespace zk
