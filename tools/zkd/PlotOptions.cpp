#include "PlotOptions.h"

#include <QString>

#include <limits>

namespace zk::zkd {

namespace {

// A run of digits as a number; nullopt when empty, not all digits or longer than `maxDigits`.
std::optional<int64_t> Digits(std::string_view s, std::size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return std::nullopt;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

// A side of the picture in pixels, within the limits.
std::optional<int> Side(const std::string& text, const char* name, int least, std::string& error) {
  bool ok = false;
  const int v = QString::fromStdString(text).toInt(&ok);
  if (!ok) {
    error = std::string("--") + name + ": '" + text + "' is not a whole number of pixels";
    return std::nullopt;
  }
  if (v < least || v > MaxPlotSide) {
    error = "the picture must be at least " + std::to_string(MinPlotWidth) + " x " + std::to_string(MinPlotHeight) +
            " and at most " + std::to_string(MaxPlotSide) + " x " + std::to_string(MaxPlotSide) + " pixels";
    return std::nullopt;
  }
  return v;
}

std::optional<int64_t> TimeOption(const std::string& text, const char* name, std::string& error) {
  if (auto s = ParseTimeText(text)) return int64_t{*s} * 1000;
  error = std::string("--") + name + ": '" + text + "' is no time (mm:ss or h:mm:ss)";
  return std::nullopt;
}

}  // namespace

std::optional<int32_t> ParseTimeText(std::string_view text) {
  std::string_view parts[3];
  int n = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = text.find(':', start);
    if (n == 3) return std::nullopt;
    parts[n++] = text.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  if (n < 2) return std::nullopt;
  const auto secs = Digits(parts[n - 1], 2);
  if (!secs || parts[n - 1].size() != 2 || *secs > 59) return std::nullopt;
  int64_t total = *secs;
  if (n == 2) {
    const auto mins = Digits(parts[0], 6);
    if (!mins) return std::nullopt;
    total += *mins * 60;
  } else {
    const auto hours = Digits(parts[0], 4);
    const auto mins = Digits(parts[1], 2);
    if (!hours || !mins || parts[1].size() != 2 || *mins > 59) return std::nullopt;
    total += *hours * 3600 + *mins * 60;
  }
  // Recording times are milliseconds in 32 bits.
  if (total > std::numeric_limits<int32_t>::max() / 1000) return std::nullopt;
  return static_cast<int32_t>(total);
}

ProgramOptions PlotCommandLine() {
  ProgramOptions line("zodovaz-zkd plot", "FILE.zkd [options]",
                      "Draws the whole recording (or the part between --from and --to) as a PNG picture:\n"
                      "the needle, the base value with the blow-down total, the sensitivity step with the\n"
                      "lamps, and the raw reading, over one time axis, with every tag marked.");
  line.Value({"o", "output"}, "OUT.png", "where to write it (default: FILE.png beside the recording)");
  line.Value(
      {"width"}, "PX",
      "picture width, " + std::to_string(MinPlotWidth) + " to " + std::to_string(MaxPlotSide) + " (default 1600)");
  line.Value(
      {"height"}, "PX",
      "picture height, " + std::to_string(MinPlotHeight) + " to " + std::to_string(MaxPlotSide) + " (default 900)");
  line.Value({"from"}, "TIME", "start of the part to draw, as mm:ss or h:mm:ss");
  line.Value({"to"}, "TIME", "end of the part to draw, as mm:ss or h:mm:ss");
  return line;
}

std::optional<PlotOptions> ReadPlotOptions(const ProgramOptions& line, std::string& error) {
  const std::vector<std::string> files = line.Positionals();
  if (files.size() != 1) {
    error = files.empty() ? "no recording given" : "one recording at a time";
    return std::nullopt;
  }
  PlotOptions o;
  o.input = files[0];
  if (line.IsSet("output")) {
    o.output = line.Get("output");
    if (o.output.empty()) {
      error = "-o: an empty file name";
      return std::nullopt;
    }
  }
  if (line.IsSet("width")) {
    auto v = Side(line.Get("width"), "width", MinPlotWidth, error);
    if (!v) return std::nullopt;
    o.width = *v;
  }
  if (line.IsSet("height")) {
    auto v = Side(line.Get("height"), "height", MinPlotHeight, error);
    if (!v) return std::nullopt;
    o.height = *v;
  }
  if (line.IsSet("from") && !(o.fromMs = TimeOption(line.Get("from"), "from", error))) return std::nullopt;
  if (line.IsSet("to") && !(o.toMs = TimeOption(line.Get("to"), "to", error))) return std::nullopt;
  if (o.fromMs && o.toMs && *o.fromMs > *o.toMs) {
    error = "--from is after --to";
    return std::nullopt;
  }
  return o;
}

}  // namespace zk::zkd
