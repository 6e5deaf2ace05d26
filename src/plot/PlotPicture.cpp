#include "plot/PlotPicture.h"

#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QVector>

#include <algorithm>
#include <functional>

#include "base/Numbers.h"
#include "meter/MeterEngine.h"
#include "plot/PlotAxis.h"
#include "plot/PlotColors.h"

namespace zk::plot {

namespace {

const PlotColors& C = PlotPalette;

QColor Col(QRgb c) { return QColor::fromRgb(c); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

double Same(int32_t v) { return v; }
double Base(int32_t step) { return BaseValue(step); }

// A lane's trace: in every filled column a stroke from its least to its greatest value,
// joined to the last value of the filled column before it.
void DrawTrace(QPainter& p, const PlotLayout& L, const Lane& lane, const std::vector<PlotColumn>& cols,
               Extent PlotColumn::*field, double (*value)(int32_t), QRgb colour) {
  QVector<QLine> lines;
  lines.reserve(static_cast<qsizetype>(cols.size() * 2));
  int prevX = -1, prevY = 0;
  for (std::size_t c = 0; c < cols.size(); ++c) {
    if (!cols[c].filled) continue;
    const Extent& e = cols[c].*field;
    const int x = L.left + static_cast<int>(c);
    if (prevX >= 0) lines.append(QLine(prevX, prevY, x, lane.Y(value(e.first))));
    lines.append(QLine(x, lane.Y(value(e.hi)), x, lane.Y(value(e.lo))));
    prevX = x;
    prevY = lane.Y(value(e.last));
  }
  p.setPen(QPen(Col(colour), 1));
  p.drawLines(lines);
}

// Fills the columns where `pick` holds, between two rows, as runs of neighbouring columns.
void FillColumns(QPainter& p, const PlotLayout& L, int top, int bottom, const std::vector<PlotColumn>& cols,
                 const std::function<bool(const PlotColumn&)>& pick, QRgb colour) {
  const int n = static_cast<int>(cols.size());
  for (int c = 0; c < n;) {
    if (!pick(cols[c])) {
      ++c;
      continue;
    }
    int end = c;
    while (end + 1 < n && pick(cols[end + 1])) ++end;
    p.fillRect(QRect(L.left + c, top, end - c + 1, bottom - top + 1), Col(colour));
    c = end + 1;
  }
}

void HLine(QPainter& p, const Lane& lane, double v, QRgb colour, Qt::PenStyle style = Qt::SolidLine) {
  p.setPen(QPen(Col(colour), 1, style));
  const int y = lane.Y(v);
  p.drawLine(lane.rect.left(), y, lane.rect.right(), y);
}

// A value label right-aligned against the left edge of the lanes, centred on row y.
void LeftLabel(QPainter& p, const PlotLayout& L, int y, const QString& text, QRgb colour) {
  p.setPen(Col(colour));
  const int h = L.fontPx + 4;
  p.drawText(QRect(0, y - h / 2, L.left - 4, h), Qt::AlignRight | Qt::AlignVCenter, text);
}

// The lane's name, turned to run upwards in the far left of the margin, when it fits.
void LaneName(QPainter& p, const PlotLayout& L, const QRect& lane, const QString& name) {
  const QFontMetrics fm(p.font());
  if (fm.horizontalAdvance(name) > lane.height()) return;
  p.save();
  p.translate(2, lane.center().y());
  p.rotate(-90);
  p.setPen(Col(C.faintText));
  p.drawText(QRect(-lane.height() / 2, 0, lane.height(), L.fontPx + 4), Qt::AlignCenter, name);
  p.restore();
}

// Writes event texts with a short tick at their time along row `top`, from the last event
// to the first, leaving out any that would run into the one written after it — so a burst
// of changes shows its latest value.
void EventLabels(QPainter& p, const PlotLayout& L, const TimeRange& range, const std::vector<PlotEvent>& events,
                 int top, bool centred, const std::function<std::string(int32_t)>& text, QRgb colour) {
  const QFontMetrics fm(p.font());
  const int h = L.fontPx + 4;
  const int right = L.left + L.columns;
  // Where the label written after this one starts: the gap is kept between labels, not
  // at the right edge, so a label clamped against the edge (an event at the end) shows.
  int limit = right + L.fontPx / 2;
  p.setPen(Col(colour));
  for (auto it = events.rbegin(); it != events.rend(); ++it) {
    const int x = L.X(it->timeMs, range);
    const QString s = Q(text(it->value));
    const int w = fm.horizontalAdvance(s) + 2;
    int x0 = centred ? x - w / 2 : x + 2;
    x0 = std::clamp(x0, L.left, right - w);
    if (!centred) p.drawLine(x, top, x, top + L.fontPx / 2);
    if (x0 + w + L.fontPx / 2 > limit) continue;
    p.drawText(QRect(x0, top, w, h), Qt::AlignLeft | Qt::AlignVCenter, s);
    limit = x0;
  }
}

void TimeAxis(QPainter& p, const PlotLayout& L, const TimeRange& range, const PlotTexts& texts) {
  const QFontMetrics fm(p.font());
  auto width = [&](const std::string& t) { return fm.horizontalAdvance(Q(t)); };
  const std::vector<AxisLabel> labels =
      AxisLabels(range, L.columns, texts.totalTimeMs, texts.startSeconds, width, L.fontPx);

  const int h = L.fontPx + 4;
  const int tick = std::max(3, L.fontPx / 3);
  p.setPen(QPen(Col(C.laneFrame), 1));
  p.drawLine(L.left, L.axisTop, L.left + L.columns - 1, L.axisTop);
  for (const AxisLabel& l : labels) {
    const int x = L.X(l.seconds * 1000, range);
    p.setPen(QPen(Col(C.grid), 1));
    p.drawLine(x, L.LanesTop(), x, L.LanesBottom());
    p.setPen(QPen(Col(C.text), 1));
    p.drawLine(x, L.axisTop, x, L.axisTop + tick);
    const int w = std::max(width(l.time), width(l.clock)) + 4;
    const int x0 = std::clamp(x - w / 2, 0, L.width - w);
    p.drawText(QRect(x0, L.axisTop + tick, w, h), Qt::AlignCenter, Q(l.time));
    if (!l.clock.empty()) {
      p.setPen(Col(C.faintText));
      p.drawText(QRect(x0, L.axisTop + tick + h - 2, w, h), Qt::AlignCenter, Q(l.clock));
    }
  }
}

void Frames(QPainter& p, const PlotLayout& L) {
  p.setPen(QPen(Col(C.laneFrame), 1));
  p.setBrush(Qt::NoBrush);
  for (const QRect& r : {L.needle.rect, L.base.rect, L.sensitivity.rect, L.lampBand, L.raw.rect})
    p.drawRect(r.adjusted(-1, -1, 0, 0));
}

void Scales(QPainter& p, const PlotLayout& L, const PlotSeries& s) {
  HLine(p, L.needle, NeedleScaleEnd, C.scaleEnds, Qt::DashLine);
  HLine(p, L.needle, -NeedleScaleEnd, C.scaleEnds, Qt::DashLine);
  HLine(p, L.needle, NeedleSetMark, C.setMark);
  LeftLabel(p, L, L.needle.Y(NeedleScaleEnd), "end", C.faintText);
  LeftLabel(p, L, L.needle.Y(-NeedleScaleEnd), "end", C.faintText);
  LeftLabel(p, L, L.needle.Y(NeedleSetMark), "SET", C.setMark);

  // Base values 1 to 6; labelled as often as the lane's height allows.
  const double perUnit = L.base.rect.height() / (L.base.hi - L.base.lo);
  const int every = std::max(1, static_cast<int>((L.fontPx + 2) / std::max(perUnit, 1.0)) + 1);
  for (int v = 1; v <= 6; ++v) {
    HLine(p, L.base, v, C.grid);
    if ((v - 1) % every == 0) LeftLabel(p, L, L.base.Y(v), Q(Format_0_0h(v)), C.faintText);
  }
  for (int v : {16, 32, 48}) HLine(p, L.sensitivity, v, C.grid);
  LeftLabel(p, L, L.sensitivity.Y(63), "63", C.faintText);
  LeftLabel(p, L, L.sensitivity.Y(0), "0", C.faintText);
  // The lowest and highest reading of the range, where they stand.
  LeftLabel(p, L, L.raw.Y(s.rawMax), QString::number(s.rawMax), C.faintText);
  if (s.rawMin != s.rawMax) LeftLabel(p, L, L.raw.Y(s.rawMin), QString::number(s.rawMin), C.faintText);

  LaneName(p, L, L.needle.rect, "needle");
  LaneName(p, L, L.base.rect, "base, BD");
  LaneName(p, L, QRect(L.sensitivity.rect.topLeft(), L.lampBand.bottomRight()), "sensitivity");
  LaneName(p, L, L.raw.rect, "raw reading");
}

}  // namespace

std::string TagMark(int32_t tag, const TagNotes& notes) {
  // Long enough to recognise the note, short enough to leave room for the next tags.
  constexpr qsizetype NoteChars = 24;
  const std::string& note = notes.Of(tag);
  if (note.empty()) return std::to_string(tag);
  QString text = Q(note).simplified();
  if (text.size() > NoteChars) text = text.left(NoteChars - 1).trimmed() + QChar(0x2026);
  return std::to_string(tag) + ": " + text.toStdString();
}

QImage DrawPlot(const PlotSeries& s, const PlotLayout& L, const PlotTexts& texts) {
  QImage image(L.width, L.height, QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.fill(Col(C.background));

  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(L.fontPx);
  p.setFont(font);

  const auto& cols = s.columns;
  FillColumns(
      p, L, L.needle.rect.top(), L.needle.rect.bottom(), cols, [](const PlotColumn& c) { return c.frozen; }, C.frozen);
  Scales(p, L, s);
  TimeAxis(p, L, s.range, texts);

  // Tags run through every lane, behind the traces.
  p.setPen(QPen(Col(C.tag), 1));
  for (const PlotEvent& t : s.tags) {
    const int x = L.X(t.timeMs, s.range);
    p.drawLine(x, L.LanesTop(), x, L.LanesBottom());
  }

  DrawTrace(p, L, L.needle, cols, &PlotColumn::needle, Same, C.needle);
  DrawTrace(p, L, L.base, cols, &PlotColumn::baseStep, Base, C.base);
  DrawTrace(p, L, L.sensitivity, cols, &PlotColumn::sensitivity, Same, C.sensitivity);
  DrawTrace(p, L, L.raw, cols, &PlotColumn::raw, Same, C.raw);

  const int row = L.lampBand.height() / 3;
  for (int lamp = 1; lamp <= 3; ++lamp) {
    const int top = L.lampBand.top() + (lamp - 1) * row;
    FillColumns(
        p, L, top, top + row - 1, cols, [lamp](const PlotColumn& c) { return (c.lamps >> lamp) & 1; }, C.lamps[lamp]);
  }
  Frames(p, L);

  EventLabels(
      p, L, s.range, s.bdChanges, L.base.rect.top(), false, [](int32_t v) { return "BD " + MeterEngine::Bd_Text(v); },
      C.bd);
  EventLabels(
      p, L, s.range, s.sensitivityChanges, L.sensitivity.rect.top(), false, [](int32_t v) { return std::to_string(v); },
      C.sensitivity);
  EventLabels(
      p, L, s.range, s.tags, L.tagRowTop, true, [&](int32_t v) { return TagMark(v, texts.notes); }, C.tag);

  QFont bold = font;
  bold.setBold(true);
  p.setFont(bold);
  p.setPen(Col(C.text));
  const QString title = QFontMetrics(bold).elidedText(Q(texts.title), Qt::ElideRight, L.title.width());
  p.drawText(L.title, Qt::AlignLeft | Qt::AlignVCenter, title);
  return image;
}

}  // namespace zk::plot
