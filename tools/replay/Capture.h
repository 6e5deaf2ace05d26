#pragma once
// A captured byte stream: one event per line, "<ms> <bytes>". ms counts from 0 and never
// decreases; the bytes (everything after the first blank) take the C escapes for carriage
// return, line feed, tab, backslash and \xHH; a line of only "<ms>" just moves time on; a
// line starting with "#" is a comment. A carriage return at the very end of a line (a
// file edited on another system) is not part of the bytes: write the escape for one.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zk::replay {

struct CaptureLine {
  int64_t ms = 0;
  std::string bytes;
};

// nullopt on a malformed capture; error then reads "line N: why".
std::optional<std::vector<CaptureLine>> Parse_Capture(const std::string& text, std::string& error);

// Decodes the escapes of one line's bytes; nullopt on a bad escape.
std::optional<std::string> Unescape(const std::string& text);

}  // namespace zk::replay
