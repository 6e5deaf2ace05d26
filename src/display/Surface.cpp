#include "display/Surface.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zk {

namespace {
constexpr double FullTurn = 6.283185307179586;
constexpr double PointsPerPixel = 72.0 / 96.0;

QPen MakePen(int32_t color, int width) {
  QPen pen(Surface::ToQColor(color));
  pen.setWidthF(std::max(1, width));
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}
}  // namespace

QColor Surface::ToQColor(int32_t c) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

int32_t Surface::FromQColor(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

Surface::Surface(int widthPx, int heightPx)
    : image_(std::max(1, widthPx), std::max(1, heightPx), QImage::Format_RGB32) {
  image_.fill(ToQColor(back_));
  ApplyModeScale();
  Map_Font_Names();
}

Surface::~Surface() { Flush(); }

QPainter& Surface::Painter() {
  if (!painter_) painter_ = std::make_unique<QPainter>(&image_);
  return *painter_;
}

void Surface::Flush() const {
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
}

const QImage& Surface::Image() const {
  Flush();
  return image_;
}

void Surface::Resize(int widthPx, int heightPx) {
  widthPx = std::max(1, widthPx);
  heightPx = std::max(1, heightPx);
  if (widthPx == image_.width() && heightPx == image_.height()) return;
  Flush();
  QImage next(widthPx, heightPx, QImage::Format_RGB32);
  next.fill(ToQColor(back_));
  {
    QPainter p(&next);
    p.drawImage(0, 0, image_);
  }
  image_ = std::move(next);
  ApplyModeScale();
  Touch(QRectF(image_.rect()));
}

void Surface::Scale(double left, double top, double width, double height) {
  mode_ = ScaleMode::User;
  left_ = left;
  top_ = top;
  // A zero extent would make every mapping divide by zero; keep the old one instead.
  if (width != 0) width_ = width;
  if (height != 0) height_ = height;
}

void Surface::SetScaleMode(ScaleMode m) {
  mode_ = m;
  ApplyModeScale();
}

void Surface::ApplyModeScale() {
  if (mode_ == ScaleMode::User) return;
  const double f = mode_ == ScaleMode::Point ? PointsPerPixel : 1.0;
  left_ = 0;
  top_ = 0;
  width_ = image_.width() * f;
  height_ = image_.height() * f;
}

double Surface::PxX(double x) const { return (x - left_) / width_ * image_.width(); }
double Surface::PxY(double y) const { return (y - top_) / height_ * image_.height(); }
double Surface::UserX(double px) const { return left_ + px / image_.width() * width_; }
double Surface::UserY(double py) const { return top_ + py / image_.height() * height_; }
double Surface::PxLenX(double len) const { return std::abs(len / width_ * image_.width()); }

void Surface::SetBackColor(int32_t c) {
  back_ = c;
  Flush();
  image_.fill(ToQColor(back_));
  Touch(QRectF(image_.rect()));
}

void Surface::SetFontName(const std::string& name) { fontName_ = name; }
void Surface::SetFontSize(double points) { fontPoints_ = points; }
void Surface::SetFontBold(bool b) { bold_ = b; }
void Surface::SetFontItalic(bool b) { italic_ = b; }

void Surface::Map_Font_Names() {
  // The layout is measured for "Aerial", a name no system carries; Liberation Sans
  // (Debian's fonts-liberation) has the metrics it assumes, so every text lands where the
  // layout puts it. Without that font the platform's fallback serves.
  static const bool mapped = [] {
    QFont::insertSubstitution("Aerial", "Liberation Sans");
    return true;
  }();
  (void)mapped;
}

QFont Surface::Font() const {
  // The family asked for may not exist; the platform's fallback serves.
  QFont f(QString::fromStdString(fontName_));
  f.setStyleHint(QFont::SansSerif);
  const double px = std::max(1.0, fontPoints_) * PixelsPerPoint;
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
  f.setBold(bold_);
  f.setItalic(italic_);
  return f;
}

void Surface::Cls() {
  Flush();
  image_.fill(ToQColor(back_));
  CurrentX = 0;
  CurrentY = 0;
  Touch(QRectF(image_.rect()));
}

void Surface::Line(double x1, double y1, double x2, double y2, std::optional<int32_t> color) {
  const QPointF a(PxX(x1), PxY(y1)), b(PxX(x2), PxY(y2));
  QPainter& p = Painter();
  p.setRenderHint(QPainter::Antialiasing, Antialiased);
  p.setPen(MakePen(color.value_or(ForeColor), DrawWidth));
  p.drawLine(a, b);
  CurrentX = x2;
  CurrentY = y2;
  Touch(QRectF(a, b).normalized().adjusted(-DrawWidth, -DrawWidth, DrawWidth, DrawWidth));
}

void Surface::Lines(const std::vector<QLineF>& lines, int32_t color) {
  if (lines.empty()) return;
  std::vector<QLineF> px;
  px.reserve(lines.size());
  QRectF bounds;
  for (const QLineF& l : lines) {
    px.emplace_back(PxX(l.x1()), PxY(l.y1()), PxX(l.x2()), PxY(l.y2()));
    bounds |= QRectF(px.back().p1(), px.back().p2()).normalized();
  }
  QPainter& p = Painter();
  p.setRenderHint(QPainter::Antialiasing, Antialiased);
  p.setPen(MakePen(color, DrawWidth));
  p.drawLines(px.data(), static_cast<int>(px.size()));
  CurrentX = lines.back().x2();
  CurrentY = lines.back().y2();
  Touch(bounds.adjusted(-DrawWidth, -DrawWidth, DrawWidth, DrawWidth));
}

void Surface::FilledBox(double x1, double y1, double x2, double y2, std::optional<int32_t> color) {
  const QRectF r = QRectF(QPointF(PxX(x1), PxY(y1)), QPointF(PxX(x2), PxY(y2))).normalized();
  QPainter& p = Painter();
  p.setRenderHint(QPainter::Antialiasing, Antialiased);
  p.fillRect(r, ToQColor(color.value_or(ForeColor)));
  CurrentX = x2;
  CurrentY = y2;
  Touch(r);
}

void Surface::Circle(double x, double y, double r, std::optional<int32_t> color, std::optional<double> start,
                     std::optional<double> end) {
  const QPointF c(PxX(x), PxY(y));
  const double rp = PxLenX(r);
  const QRectF box(c.x() - rp, c.y() - rp, 2 * rp, 2 * rp);
  QPainter& p = Painter();
  p.setRenderHint(QPainter::Antialiasing, Antialiased);
  p.setPen(MakePen(color.value_or(ForeColor), DrawWidth));
  const QBrush fill = FillStyle == FillSolid ? QBrush(ToQColor(FillColor)) : QBrush(Qt::NoBrush);
  if (!start && !end) {
    p.setBrush(fill);
    p.drawEllipse(box);
  } else {
    const double s = start.value_or(0.0), e = end.value_or(FullTurn);
    const bool radiusAtStart = s < 0, radiusAtEnd = e < 0;
    const double a0 = std::abs(s), a1 = std::abs(e);
    double span = a1 - a0;
    if (span < 0) span += FullTurn;
    // Qt counts angles in sixteenths of a degree, counter-clockwise on the screen.
    const int qs = static_cast<int>(std::lround(a0 * 180.0 / std::numbers::pi * 16.0));
    const int qn = static_cast<int>(std::lround(span * 180.0 / std::numbers::pi * 16.0));
    auto endPoint = [&](double a) { return QPointF(c.x() + rp * std::cos(a), c.y() - rp * std::sin(a)); };
    if (radiusAtStart && radiusAtEnd) {
      p.setBrush(fill);
      p.drawPie(box, qs, qn);
    } else {
      p.setBrush(Qt::NoBrush);
      p.drawArc(box, qs, qn);
      if (radiusAtStart) p.drawLine(c, endPoint(a0));
      if (radiusAtEnd) p.drawLine(c, endPoint(a1));
    }
  }
  Touch(box.adjusted(-DrawWidth, -DrawWidth, DrawWidth, DrawWidth));
}

void Surface::PSet(double x, double y, std::optional<int32_t> color) {
  const QPointF c(PxX(x), PxY(y));
  const QColor col = ToQColor(color.value_or(ForeColor));
  if (DrawWidth > 1) {
    QPainter& p = Painter();
    p.setRenderHint(QPainter::Antialiasing, Antialiased);
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    const double d = DrawWidth;
    p.drawEllipse(c, d / 2, d / 2);
  } else {
    const int px = static_cast<int>(std::floor(c.x())), py = static_cast<int>(std::floor(c.y()));
    Flush();
    if (image_.rect().contains(px, py)) image_.setPixel(px, py, col.rgb());
  }
  CurrentX = x;
  CurrentY = y;
  Touch(QRectF(c.x() - DrawWidth, c.y() - DrawWidth, 2.0 * DrawWidth, 2.0 * DrawWidth));
}

QRectF Surface::TextBox(const std::string& text, const QFont& f) const {
  const QFontMetricsF fm(f);
  return QRectF(PxX(CurrentX), PxY(CurrentY), fm.horizontalAdvance(QString::fromStdString(text)), fm.height());
}

void Surface::WipeText(const std::string& text) {
  const QRectF box = TextBox(text, Font());
  QPainter& p = Painter();
  p.setRenderHint(QPainter::Antialiasing, false);  // the same whole pixels Print fills
  p.fillRect(box, ToQColor(back_));
  Touch(box);
}

void Surface::PaintRuns(const StrokeSpans& runs, int32_t color, const QImage* patch, QPoint patchAt) {
  if (runs.Empty()) return;
  // Runs are clipped to the image when they are built; the clip is kept here too, so runs
  // of an earlier, larger size cannot write outside the image.
  const QRect inside = image_.rect();
  const QRgb c = ToQColor(color).rgb();
  const QRect patchRect = patch ? QRect(patchAt, patch->size()) : QRect();
  const uchar* const from = patch ? patch->constBits() : nullptr;
  const qsizetype fromStride = patch ? patch->bytesPerLine() : 0;
  uchar* const bits = image_.bits();
  const qsizetype stride = image_.bytesPerLine();
  for (const StrokeSpans::Run& run : runs.Runs()) {
    if (run.y < 0 || run.y >= inside.height()) continue;
    const int x0 = std::max(0, run.x0), x1 = std::min(inside.width(), run.x1);
    if (x0 >= x1) continue;
    auto* line = reinterpret_cast<QRgb*>(bits + run.y * stride);
    if (!patch) {  // the needle's own case: one fill per row
      std::fill(line + x0, line + x1, c);
      continue;
    }
    int p0 = x1, p1 = x1;  // the part of the run the patch covers
    if (run.y >= patchRect.top() && run.y <= patchRect.bottom()) {
      p0 = std::clamp(patchRect.left(), x0, x1);
      p1 = std::clamp(patchRect.right() + 1, p0, x1);
      const auto* src = reinterpret_cast<const QRgb*>(from + (run.y - patchRect.top()) * fromStride);
      std::copy(src + (p0 - patchRect.left()), src + (p1 - patchRect.left()), line + p0);
    }
    std::fill(line + x0, line + p0, c);
    std::fill(line + p1, line + x1, c);
  }
  Announce(runs);
}

void Surface::Announce(const StrokeSpans& runs) {
  if (!listener_) {
    TouchPx(runs.Bounds());
    return;
  }
  // Bands of 16 rows follow a slanted stroke closely, so only its own pixels are shown
  // again, in a handful of rectangles, and the window hears of the stroke once. The bands
  // share no row and come top to bottom: a region can take them as they are.
  const std::vector<QRect> bands = runs.Bands(16);
  QRegion shown;
  shown.setRects(bands.data(), static_cast<int>(bands.size()));
  TouchPx(shown);
}

QImage Surface::Copy(const QRect& px) const {
  Flush();
  return image_.copy(px.intersected(image_.rect()));
}

void Surface::KeepFace() {
  Flush();
  // The copy of the last repaint is written over when the size is the same: a repaint
  // then costs no new buffer.
  faceTiles_.clear();
  if (face_.size() != image_.size() || face_.format() != image_.format()) {
    face_ = image_.copy();
    return;
  }
  std::copy(image_.constBits(), image_.constBits() + image_.sizeInBytes(), face_.bits());
}

const QImage* Surface::Face() const { return !face_.isNull() && face_.size() == image_.size() ? &face_ : nullptr; }

namespace {
// Tiles of 8 x 8 pixels: a needle stroke's row mostly lies in one.
constexpr int TileShift = 3;
}  // namespace

uint8_t Surface::ScanTile(int tx, int ty, QRgb plain) const {
  const int x0 = tx << TileShift, y0 = ty << TileShift;
  const int x1 = std::min(face_.width(), x0 + (1 << TileShift)), y1 = std::min(face_.height(), y0 + (1 << TileShift));
  for (int row = y0; row < y1; ++row) {
    const auto* line = reinterpret_cast<const QRgb*>(face_.constScanLine(row));
    if (!std::all_of(line + x0, line + x1, [&](QRgb p) { return p == plain; })) return 2;
  }
  return 1;
}

void Surface::RestoreFace(const StrokeSpans& runs, int32_t color) {
  if (!Face()) {
    PaintRuns(runs, color);
    return;
  }
  if (runs.Empty()) return;
  // Most of a stroke lies on plain dial: those runs take the colour, and only the runs
  // that touch face detail are copied from the face. Written straight into the image as
  // PaintRuns writes, with the painter left open.
  const QRgb c = ToQColor(color).rgb();
  const int width = image_.width(), height = image_.height();
  const int across = (width >> TileShift) + 1;
  const size_t tileCount = static_cast<size_t>(across) * ((height >> TileShift) + 1);
  if (faceTiles_.size() != tileCount || faceTileColour_ != c) faceTiles_.assign(tileCount, 0);
  faceTileColour_ = c;
  uint8_t* const tiles = faceTiles_.data();
  uchar* const bits = image_.bits();
  const uchar* const from = face_.constBits();
  const qsizetype stride = image_.bytesPerLine(), fromStride = face_.bytesPerLine();
  for (const StrokeSpans::Run& run : runs.Runs()) {
    if (run.y < 0 || run.y >= height) continue;
    const int x0 = std::max(0, run.x0), x1 = std::min(width, run.x1);
    if (x0 >= x1) continue;
    const int ty = run.y >> TileShift;
    bool plain = true;
    for (int tx = x0 >> TileShift; plain && tx <= (x1 - 1) >> TileShift; ++tx) {
      uint8_t& t = tiles[static_cast<size_t>(ty) * across + tx];
      if (t == 0) t = ScanTile(tx, ty, c);
      plain = t == 1;
    }
    auto* line = reinterpret_cast<QRgb*>(bits + run.y * stride);
    if (plain) {
      std::fill(line + x0, line + x1, c);
    } else {
      const auto* src = reinterpret_cast<const QRgb*>(from + run.y * fromStride);
      std::copy(src + x0, src + x1, line + x0);
    }
  }
  Announce(runs);
}

void Surface::Print(const std::string& text) {
  const QFont f = Font();
  const QFontMetricsF fm(f);
  const QString s = QString::fromStdString(text);
  const QRectF box = TextBox(text, f);
  QPainter& p = Painter();
  p.setRenderHint(QPainter::Antialiasing, false);  // the opaque box covers whole pixels
  p.setRenderHint(QPainter::TextAntialiasing, true);
  if (!FontTransparent) p.fillRect(box, ToQColor(back_));
  p.setFont(f);
  p.setPen(ToQColor(ForeColor));
  p.drawText(QPointF(box.left(), box.top() + fm.ascent()), s);
  CurrentX = left_;
  CurrentY += TextHeight(text);
  Touch(box);
}

double Surface::TextWidth(const std::string& text) const {
  const QFontMetricsF fm(Font());
  return fm.horizontalAdvance(QString::fromStdString(text)) / image_.width() * width_;
}

double Surface::TextHeight(const std::string&) const {
  const QFontMetricsF fm(Font());
  return fm.height() / image_.height() * height_;
}

int32_t Surface::PixelColor(int px, int py) const {
  if (!image_.rect().contains(px, py)) return -1;
  Flush();
  return FromQColor(QColor(image_.pixel(px, py)));
}

QRect Surface::TakeDirty() {
  QRect r = dirty_;
  dirty_ = QRect();
  return r;
}

QRect Surface::TakeDrawn() {
  QRect r = drawn_;
  drawn_ = QRect();
  return r;
}

void Surface::Touch(const QRectF& r) { TouchPx(r.toAlignedRect().adjusted(-2, -2, 2, 2)); }

void Surface::TouchPx(const QRect& r) { TouchPx(QRegion(r)); }

void Surface::TouchPx(const QRegion& r) {
  const QRegion px = r.intersected(image_.rect());
  if (px.isEmpty()) return;
  dirty_ = dirty_.united(px.boundingRect());
  drawn_ = drawn_.united(px.boundingRect());
  if (listener_) listener_(px);
}

}  // namespace zk
