#pragma once
// The command line of "zodovaz-zkd plot": FILE.zkd [-o OUT.png] [--width PX] [--height PX]
// [--from TIME] [--to TIME]. Reading it checks everything that needs no recording; the
// range against the recording's length is checked once it is read.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ProgramOptions.h"

namespace zk::zkd {

inline constexpr int MinPlotWidth = 200, MinPlotHeight = 150;
// Large enough for any screen or print; a picture beyond it would need gigabytes.
inline constexpr int MaxPlotSide = 8000;

struct PlotOptions {
  std::string input;
  std::string output;  // FILE.png beside the recording when not given
  int width = 1600;
  int height = 900;
  std::optional<int64_t> fromMs, toMs;
};

// A time of the recording as "mm:ss" or "h:mm:ss", in whole seconds; nullopt for any
// other text. Minutes may exceed 59 in the short form ("90:00"); seconds may not.
std::optional<int32_t> ParseTimeText(std::string_view text);

// The options of the plot command, for parsing the arguments after "plot", its help and
// its messages.
ProgramOptions PlotCommandLine();

// The plot's options from a parsed command line. On failure answers nullopt and sets
// `error` to a one-line reason.
std::optional<PlotOptions> ReadPlotOptions(const ProgramOptions& line, std::string& error);

}  // namespace zk::zkd
