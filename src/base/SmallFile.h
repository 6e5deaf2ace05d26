#pragma once
// Reading a small text file whole — the session file, the settings — safely whatever sits
// at its path: a FIFO, a device, a folder or a huge file is refused before a byte is read,
// and nothing here ever waits for a writer.
#include <cstddef>
#include <string>

namespace zk {

// Far above any settings or session file this program writes (a settings file grown by
// hand to ten megabytes still loads); a larger one is not ours and is not read.
inline constexpr std::size_t MaxSmallFileBytes = std::size_t{64} << 20;

enum class SmallFileStatus {
  Read,     // `text` holds the whole file
  Missing,  // nothing at the path (a dangling link counts as nothing)
  Refused,  // not a regular file, larger than the limit, or a read that failed
};

// Reads `path` whole into `text` (cleared on anything but Read). The path is checked with
// stat before it is opened (so that no device is opened at all), opened without blocking,
// and checked again on the open descriptor, so a file swapped in between is refused too.
SmallFileStatus ReadSmallFile(const std::string& path, std::string& text, std::size_t maxBytes = MaxSmallFileBytes);

}  // namespace zk
