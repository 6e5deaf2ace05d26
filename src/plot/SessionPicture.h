#pragma once
// The whole session picture of a recording in memory: its title line, the reduction to
// the picture's columns and the drawing, with the layout and series kept so a window can
// map its pixels back to times and find the tags. Also writes a picture as a PNG file.
#include <QImage>

#include <string>

#include "base/AtomicFile.h"
#include "plot/PlotLayout.h"
#include "plot/PlotSeries.h"
#include "zkd/RecordFile.h"
#include "zkd/TagNotes.h"

namespace zk::plot {

// The title line: file name, start date and time when recorded, duration, records, tags
// and the final blow-down value; the part shown when it is not the whole recording.
std::string PlotTitle(const std::string& fileName, const RecordFileData& data, const TimeRange& range);

// The recording's whole length as a range (at least 0 .. 0).
TimeRange WholeRecording(const RecordFileData& data);

struct SessionPicture {
  QImage image;  // null when the picture's memory cannot be had
  PlotLayout layout;
  PlotSeries series;
};

// Draws `range` of the recording at width x height, the tags labelled with their notes.
// A QGuiApplication must exist.
SessionPicture DrawSession(const RecordFileData& data, const std::string& fileName, const TimeRange& range, int width,
                           int height, const TagNotes& notes = {});

// Writes the picture as a PNG, replacing `path` atomically: a failure leaves the old file.
FileError WritePng(const QImage& image, const std::string& path);

}  // namespace zk::plot
