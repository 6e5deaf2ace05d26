#pragma once
// The command line of "zodovaz-zkd plot": FILE.zkd [-o OUT.png] [--width PX] [--height PX]
// [--from TIME] [--to TIME]. Parsing checks everything that needs no recording; the
// range against the recording's length is checked once it is read.
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zk::zkd {

inline constexpr int MinPlotWidth = 200, MinPlotHeight = 150;
// Large enough for any screen or print; a picture beyond it would need gigabytes.
inline constexpr int MaxPlotSide = 8000;

inline constexpr const char* PlotUsage =
    "usage: zodovaz-zkd plot FILE.zkd [-o OUT.png] [--width PX] [--height PX] [--from TIME] [--to TIME]\n";

struct PlotOptions {
  std::string input;
  std::string output;  // FILE.png beside the recording when not given
  int width = 1600;
  int height = 900;
  std::optional<int64_t> fromMs, toMs;
  bool help = false;
};

// A time of the recording as "mm:ss" or "h:mm:ss", in whole seconds; nullopt for any
// other text. Minutes may exceed 59 in the short form ("90:00"); seconds may not.
std::optional<int32_t> ParseTimeText(std::string_view text);

// Parses the arguments after "plot". On failure answers nullopt and sets `error` to a
// one-line reason.
std::optional<PlotOptions> ParsePlotOptions(const QStringList& args, std::string& error);

// The help of the plot command.
std::string PlotHelpText();

}  // namespace zk::zkd
