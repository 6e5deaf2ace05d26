#include "tools/replay/Capture.h"

#include <charconv>
#include <istream>
#include <sstream>

#include "base/Numbers.h"

namespace zk::replay {

std::optional<std::string> Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    switch (text[i]) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case 'x': {
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = HexDigitValue(text[i + 1]);
        const int lo = HexDigitValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default: return std::nullopt;
    }
  }
  return out;
}

namespace {

// At most a few dozen characters of a bad field go into a message.
std::string Excerpt(const std::string& text) {
  constexpr std::size_t ShownChars = 24;
  if (text.size() <= ShownChars) return text;
  return text.substr(0, ShownChars) + "... (" + std::to_string(text.size()) + " characters)";
}

}  // namespace

bool CaptureReader::ReadLine(std::string& text) {
  text.clear();
  std::streambuf* buf = in_.rdbuf();
  for (;;) {
    const int c = buf->sbumpc();
    if (c == std::char_traits<char>::eof()) return !text.empty();
    if (c == '\n') return true;
    if (text.size() >= MaxCaptureLine) {
      error_ =
          "line " + std::to_string(lineNo_ + 1) + ": longer than " + std::to_string(MaxCaptureLine) + " characters";
      return false;
    }
    text += static_cast<char>(c);
  }
}

bool CaptureReader::Next(CaptureLine& c) {
  while (error_.empty() && ReadLine(text_)) {
    ++lineNo_;
    std::string& line = text_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    auto fail = [&](const std::string& why) {
      error_ = "line " + std::to_string(lineNo_) + ": " + why;
      return false;
    };
    const auto blank = line.find(' ');
    const std::string msText = line.substr(0, blank);
    c.ms = 0;
    auto [p, ec] = std::from_chars(msText.data(), msText.data() + msText.size(), c.ms);
    if (ec != std::errc() || p != msText.data() + msText.size() || c.ms < 0)
      return fail("expected milliseconds, found \"" + Excerpt(msText) + "\"");
    if (c.ms > MaxCaptureMs)
      return fail("time " + Excerpt(msText) + " ms is beyond the limit of " + std::to_string(MaxCaptureMs) +
                  " ms (100 days)");
    if (c.ms < last_) return fail("time goes backwards");
    last_ = c.ms;
    c.bytes.clear();
    if (blank != std::string::npos) {
      auto bytes = Unescape(line.substr(blank + 1));
      if (!bytes) return fail("bad escape");
      c.bytes = std::move(*bytes);
    }
    return true;
  }
  return false;
}

std::optional<std::vector<CaptureLine>> Parse_Capture(const std::string& text, std::string& error) {
  std::istringstream in(text);
  CaptureReader reader(in);
  std::vector<CaptureLine> lines;
  CaptureLine c;
  while (reader.Next(c)) lines.push_back(c);
  if (!reader.Error().empty()) {
    error = reader.Error();
    return std::nullopt;
  }
  return lines;
}

}  // namespace zk::replay
