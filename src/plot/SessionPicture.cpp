#include "plot/SessionPicture.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <cerrno>

#include "base/Numbers.h"
#include "meter/MeterEngine.h"
#include "plot/PlotPicture.h"
#include "zkd/StartTexts.h"

namespace zk::plot {

namespace {

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

TimeRange WholeRecording(const RecordFileData& data) { return TimeRange{0, std::max(0, data.TotalTimeMs)}; }

SessionPicture DrawSession(const RecordFileData& data, const std::string& fileName, const TimeRange& range, int width,
                           int height, const TagNotes& notes) {
  SessionPicture s;
  s.layout = LayoutPlot(width, height);
  s.series = ReducePlot(data, range, s.layout.columns);
  s.layout.FitRawLane(s.series.rawMin, s.series.rawMax);
  PlotTexts texts;
  texts.title = PlotTitle(fileName, data, range);
  texts.totalTimeMs = data.TotalTimeMs;
  if (HasStartTime(data)) texts.startSeconds = data.RecordStartSeconds;
  texts.notes = notes;
  s.image = DrawPlot(s.series, s.layout, texts);
  return s;
}

FileError WritePng(const QImage& image, const std::string& path) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, "PNG")) return FileError{ENOMEM, "the picture could not be encoded"};
  return ReplaceFileAtomically(path, [&](int fd) { return WriteAll(fd, png.constData(), png.size()); });
}

}  // namespace zk::plot
