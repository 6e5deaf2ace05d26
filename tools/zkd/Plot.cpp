#include "Plot.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "OffscreenApp.h"
#include "PlotLayout.h"
#include "PlotOptions.h"
#include "PlotPicture.h"
#include "ZkdTool.h"
#include "core/AtomicFile.h"
#include "core/Numbers.h"
#include "meter/MeterEngine.h"

namespace zk::zkd {

namespace {

bool HasStartTime(const RecordFileData& d) { return d.RecordCount >= 1 && d.records[1].Marker == 'C'; }
bool HasStartDate(const RecordFileData& d) { return d.RecordCount >= 2 && d.records[2].Marker == 'D'; }

std::string TimeText(int64_t ms, int32_t totalTimeMs) {
  return Format_Time(static_cast<int32_t>(ms / 1000), totalTimeMs);
}

}  // namespace

std::string PlotTitle(const std::string& fileName, const RecordFileData& data, const TimeRange& range) {
  const int32_t total = data.TotalTimeMs;
  int tags = 0;
  for (int32_t k = 1; k <= data.RecordCount; ++k) tags += data.records[k].Marker == 'T';
  std::string t = fileName;
  if (HasStartDate(data)) t += "   " + DateText(data.RecordDate);
  if (HasStartTime(data)) t += (HasStartDate(data) ? " " : "   ") + TimeOfDay(data.RecordStartSeconds);
  t += "   duration " + Format_Time(CInt32(total / 1000.0), total);
  t += "   " + std::to_string(data.RecordCount) + " records   " + std::to_string(tags) + (tags == 1 ? " tag" : " tags");
  t += "   BD " + MeterEngine::Bd_Text(data.RecordCount >= 1 ? data.records[data.RecordCount].BdValue : 0);
  if (range.fromMs > 0 || range.toMs < total)
    t += "   showing " + TimeText(range.fromMs, total) + " to " + TimeText(range.toMs, total);
  return t;
}

int Plot(const QStringList& args, std::ostream& out, std::ostream& err) {
  ProgramOptions line = PlotCommandLine();
  std::vector<std::string> words;
  for (const QString& a : args) words.push_back(a.toStdString());
  if (!line.Parse(words)) return line.Finish(out, err);  // help, version or an unusable line
  std::string reason;
  const std::optional<PlotOptions> opt = ReadPlotOptions(line, reason);
  if (!opt) return line.Fail(reason, err);

  RecordFileData data;
  if (!Read(opt->input, data, err)) return 1;

  // The part to draw; a --to beyond the end stops at the end.
  const int64_t duration = std::max(0, data.TotalTimeMs);
  TimeRange range{opt->fromMs.value_or(0), std::min<int64_t>(opt->toMs.value_or(duration), duration)};
  if ((opt->fromMs || opt->toMs) && range.fromMs >= range.toMs)
    return line.Fail("nothing to draw between " + TimeText(range.fromMs, data.TotalTimeMs) + " and " +
                         TimeText(opt->toMs.value_or(duration), data.TotalTimeMs) + " (the recording lasts " +
                         TimeText(duration, data.TotalTimeMs) + ")",
                     err);

  PlotLayout layout = LayoutPlot(opt->width, opt->height);
  const PlotSeries series = ReducePlot(data, range, layout.columns);
  layout.FitRawLane(series.rawMin, series.rawMax);
  PlotTexts texts;
  texts.title = PlotTitle(std::filesystem::path(opt->input).filename().string(), data, range);
  texts.totalTimeMs = data.TotalTimeMs;
  if (HasStartTime(data)) texts.startSeconds = data.RecordStartSeconds;
  const QImage image = DrawPlot(series, layout, texts);
  if (image.isNull()) {
    err << "zodovaz-zkd plot: not enough memory for a picture of " << opt->width << " x " << opt->height << "\n";
    return 1;
  }

  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  const std::string outPath =
      opt->output.empty() ? std::filesystem::path(opt->input).replace_extension(".png").string() : opt->output;
  if (FileError e = ReplaceFileAtomically(outPath, [&](int fd) { return WriteAll(fd, png.constData(), png.size()); })) {
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
