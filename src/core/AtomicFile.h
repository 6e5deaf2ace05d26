#pragma once
// Replacing a file without ever leaving a half-written one behind.
#include <string>
#include <string_view>

namespace zk {

// Writes `content` to a temporary file in the folder of `path`, flushes it to disk and
// renames it over `path`. A symbolic link at `path` is followed, so the file it points to
// is the one replaced. An existing file keeps its permission bits. Answers false when any
// step fails; the old file is then untouched and the temporary file is removed.
bool WriteFileAtomically(const std::string& path, std::string_view content);

}  // namespace zk
