#include "display/DateLine.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cmath>

#include "base/Clock.h"

namespace zk {

namespace {
// The text is kept this many pixels inside the panel's edge: a glyph's ink may reach a
// little past its advance.
constexpr double EdgeMarginPx = 2;
constexpr double PointStep = 72.0 / 96.0;  // one pixel of font size
}  // namespace

std::vector<std::string> DateLine::Forms(int32_t dateSerial, bool longFormat) {
  const DateTime d = DateFromSerial(dateSerial);
  const QDate date(d.year, d.month, d.day);
  const QLocale locale = QLocale::system();
  std::vector<std::string> forms;
  if (longFormat) {
    const QString full = locale.dateFormat(QLocale::LongFormat);
    QString brief = full;
    brief.replace("dddd", "ddd").replace("MMMM", "MMM");
    forms.push_back(locale.toString(date, full).toStdString());
    if (brief != full) forms.push_back(locale.toString(date, brief).toStdString());
  }
  forms.push_back(locale.toString(date, QLocale::ShortFormat).toStdString());
  return forms;
}

DateLine::Fit DateLine::Choose(Surface& panel, const std::vector<std::string>& forms, double points, double room) {
  const double floor = std::min(points, FloorPoints);
  auto fits = [&](const std::string& text, double size) {
    panel.SetFontSize(size);
    return panel.TextWidth(text) <= room;
  };
  for (const std::string& text : forms)
    for (double size = points; size >= floor - 1e-9; size -= PointStep)
      if (fits(text, size)) return {text, size};
  // A panel too small for any form at the floor: the shortest one as large as fits.
  const std::string& last = forms.back();
  double size = floor;
  while (size > 1 && !fits(last, size)) size -= PointStep;
  size = std::max(1.0, size);
  panel.SetFontSize(size);
  return {last, size};
}

void DateLine::Print(Surface& panel, int32_t dateSerial, bool longFormat, double points, double x, double y) {
  // Centred on x, the text may reach as far to either side as the nearer panel edge lies.
  const double left = std::min(panel.ScaleLeft(), panel.ScaleLeft() + panel.ScaleWidth());
  const double right = std::max(panel.ScaleLeft(), panel.ScaleLeft() + panel.ScaleWidth());
  const double margin = EdgeMarginPx * std::abs(panel.ScaleWidth()) / panel.WidthPx();
  const double room = 2 * (std::min(x - left, right - x) - margin);
  const Fit fit = Choose(panel, Forms(dateSerial, longFormat), points, room);
  // Text heights are negative on the upward axis: this lifts the date above the time.
  const double top = y - panel.TextHeight(fit.text);
  const double at = x - panel.TextWidth(fit.text) / 2;
  if (!shown_.text.empty() && (shown_.text != fit.text || shown_.points != fit.points || shownX_ != at)) {
    // A shorter form or a smaller size does not cover the date shown before.
    panel.SetFontSize(shown_.points);
    panel.CurrentX = shownX_;
    panel.CurrentY = shownY_;
    panel.WipeText(shown_.text);
    panel.SetFontSize(fit.points);
  }
  panel.CurrentX = at;
  panel.CurrentY = top;
  panel.Print(fit.text);
  shown_ = fit;
  shownX_ = at;
  shownY_ = top;
}

}  // namespace zk
