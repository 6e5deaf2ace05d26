#pragma once
// Draws the session picture with QPainter on a QImage (QtGui only: no display needed,
// but a QGuiApplication must exist for the fonts).
#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

#include "plot/PlotLayout.h"
#include "plot/PlotSeries.h"

namespace zk::plot {

struct PlotTexts {
  std::string title;
  int32_t totalTimeMs = 0;              // decides the time text's form, as in the player
  std::optional<int32_t> startSeconds;  // time of day of the first reading, when recorded
};

// A null image when the picture's memory cannot be had.
QImage DrawPlot(const PlotSeries& series, const PlotLayout& layout, const PlotTexts& texts);

}  // namespace zk::plot
