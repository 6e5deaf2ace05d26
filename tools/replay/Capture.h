#pragma once
// A captured byte stream: one event per line, "<ms> <bytes>". ms counts from 0 and never
// decreases; the bytes (everything after the first blank) take the C escapes for carriage
// return, line feed, tab, backslash and \xHH; a line of only "<ms>" just moves time on; a
// line starting with "#" is a comment. A carriage return at the very end of a line (a
// file edited on another system) is not part of the bytes: write the escape for one.
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace zk::replay {

struct CaptureLine {
  int64_t ms = 0;
  std::string bytes;
};

// The latest time a capture may name: 100 days. Virtual time beyond it would leave the
// clock's range; a capture that long is a mistake, not a recording.
inline constexpr int64_t MaxCaptureMs = 100LL * 24 * 3600 * 1000;
// The longest line taken; a longer one is refused rather than held.
inline constexpr std::size_t MaxCaptureLine = 1 << 20;

// Where the replay takes its events from, one at a time.
class CaptureSource {
 public:
  virtual ~CaptureSource() = default;
  // The next event; false at the end, or on a malformed line (Error() says why).
  virtual bool Next(CaptureLine& line) = 0;
  // "line N: why" after a malformed line, else "".
  virtual const std::string& Error() const = 0;
};

// Reads a capture from a stream line by line, so a capture of any length is replayed in
// the memory of one line.
class CaptureReader : public CaptureSource {
 public:
  explicit CaptureReader(std::istream& in) : in_(in) {}
  bool Next(CaptureLine& line) override;
  const std::string& Error() const override { return error_; }

 private:
  bool ReadLine(std::string& text);  // false at the end or on an over-long line
  std::istream& in_;
  std::string text_, error_;
  int lineNo_ = 0;
  int64_t last_ = 0;
};

// Events held in memory (tests, and captures already parsed).
class CaptureList : public CaptureSource {
 public:
  explicit CaptureList(const std::vector<CaptureLine>& lines) : lines_(lines) {}
  bool Next(CaptureLine& line) override {
    if (next_ >= lines_.size()) return false;
    line = lines_[next_++];
    return true;
  }
  const std::string& Error() const override { return error_; }

 private:
  const std::vector<CaptureLine>& lines_;
  std::size_t next_ = 0;
  std::string error_;
};

// A whole capture; nullopt on a malformed one, error then reads "line N: why".
std::optional<std::vector<CaptureLine>> Parse_Capture(const std::string& text, std::string& error);

// Decodes the escapes of one line's bytes; nullopt on a bad escape.
std::optional<std::string> Unescape(const std::string& text);

}  // namespace zk::replay
