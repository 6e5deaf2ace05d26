#include "tools/replay/Capture.h"

#include <charconv>
#include <sstream>

#include "core/Numbers.h"

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
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::optional<std::vector<CaptureLine>> Parse_Capture(const std::string& text, std::string& error) {
  std::vector<CaptureLine> lines;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  int64_t last = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const auto blank = line.find(' ');
    const std::string msText = line.substr(0, blank);
    CaptureLine c;
    auto [p, ec] = std::from_chars(msText.data(), msText.data() + msText.size(), c.ms);
    if (ec != std::errc() || p != msText.data() + msText.size() || c.ms < 0) {
      error = "line " + std::to_string(lineNo) + ": expected milliseconds, found \"" + msText + "\"";
      return std::nullopt;
    }
    if (c.ms < last) {
      error = "line " + std::to_string(lineNo) + ": time goes backwards";
      return std::nullopt;
    }
    last = c.ms;
    if (blank != std::string::npos) {
      auto bytes = Unescape(line.substr(blank + 1));
      if (!bytes) {
        error = "line " + std::to_string(lineNo) + ": bad escape";
        return std::nullopt;
      }
      c.bytes = std::move(*bytes);
    }
    lines.push_back(std::move(c));
  }
  return lines;
}

}  // namespace zk::replay
