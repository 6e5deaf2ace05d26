#include "Plot.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "OffscreenApp.h"
#include "PlotOptions.h"
#include "ZkdTool.h"
#include "base/AtomicFile.h"
#include "base/Numbers.h"
#include "plot/SessionPicture.h"

namespace zk::zkd {

namespace {

// A time of the recording in whole seconds, rounded as "info" and the player show its
// length: a recording of 4.998 s lasts 00:05 and --from 0:05 is its end.
std::string TimeText(int64_t ms, int32_t totalTimeMs) {
  return Format_Time(CInt32(static_cast<double>(ms) / 1000.0), totalTimeMs);
}

}  // namespace

int Plot(const QStringList& args, std::ostream& out, std::ostream& err) {
  ProgramOptions line = PlotCommandLine();
  std::vector<std::string> words;
  for (const QString& a : args) words.push_back(a.toStdString());
  if (!line.Parse(words)) return line.Finish(out, err);  // help, version or an unusable line
  std::string reason;
  const std::optional<PlotOptions> opt = ReadPlotOptions(line, reason);
  if (!opt) return line.Fail(reason, err);

  const std::string outPath =
      opt->output.empty() ? std::filesystem::path(opt->input).replace_extension(".png").string() : opt->output;
  if (const std::string why = OutputRefusal(opt->input, outPath); !why.empty())
    return line.Fail("will not write " + outPath + ": it " + why, err);

  RecordFileData data;
  if (!Read(opt->input, data, err)) return 1;

  // The part to draw; a --to beyond the end stops at the end.
  const int64_t duration = std::max(0, data.TotalTimeMs);
  plot::TimeRange range{opt->fromMs.value_or(0), std::min<int64_t>(opt->toMs.value_or(duration), duration)};
  const int64_t shownEndMs = int64_t{CInt32(static_cast<double>(duration) / 1000.0)} * 1000;
  if (opt->fromMs && *opt->fromMs >= duration && *opt->fromMs <= shownEndMs)
    return line.Fail("nothing to draw after " + TimeText(duration, data.TotalTimeMs) + ", the end of the recording",
                     err);
  if ((opt->fromMs || opt->toMs) && range.fromMs >= range.toMs)
    return line.Fail("nothing to draw between " + TimeText(range.fromMs, data.TotalTimeMs) + " and " +
                         TimeText(opt->toMs.value_or(duration), data.TotalTimeMs) + " (the recording lasts " +
                         TimeText(duration, data.TotalTimeMs) + ")",
                     err);

  const plot::SessionPicture picture = plot::DrawSession(data, std::filesystem::path(opt->input).filename().string(),
                                                         range, opt->width, opt->height, NotesBeside(opt->input, err));
  if (picture.image.isNull()) {
    err << "zodovaz-zkd plot: not enough memory for a picture of " << opt->width << " x " << opt->height << "\n";
    return 1;
  }
  if (FileError e = plot::WritePng(picture.image, outPath)) {
    err << "zodovaz-zkd plot: could not write " << outPath << ": " << e.description << "\n";
    return 1;
  }
  out << outPath << "\n";
  return 0;
}

int PlotMain(int argc, char** argv) {
  const auto app = OffscreenApp(argv[0]);
  QStringList args;
  for (int i = 2; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return Plot(args, std::cout, std::cerr);
}

}  // namespace zk::zkd
