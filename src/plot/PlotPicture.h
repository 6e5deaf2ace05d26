#pragma once
// Draws the session picture with QPainter on a QImage (QtGui only: no display needed,
// but a QGuiApplication must exist for the fonts).
#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

#include "plot/PlotLayout.h"
#include "plot/PlotSeries.h"
#include "zkd/TagNotes.h"

namespace zk::plot {

struct PlotTexts {
  std::string title;
  int32_t totalTimeMs = 0;              // decides the time text's form, as in the player
  std::optional<int32_t> startSeconds;  // time of day of the first reading, when recorded
  TagNotes notes;                       // a tag with a note is labelled "N: note" (cut short)
};

// The label over tag `tag`: its number, and its note cut to a few words when it has one.
std::string TagMark(int32_t tag, const TagNotes& notes);

// A null image when the picture's memory cannot be had.
QImage DrawPlot(const PlotSeries& series, const PlotLayout& layout, const PlotTexts& texts);

}  // namespace zk::plot
