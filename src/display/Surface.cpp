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

Surface::Surface(int widthPx, int heightPx) : width_px_(std::max(1, widthPx)), height_px_(std::max(1, heightPx)) {
  image_ = NewImage(width_px_, height_px_);
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

QImage Surface::NewImage(int w, int h) const {
  QImage image(std::max(1, static_cast<int>(std::lround(w * ratio_))),
               std::max(1, static_cast<int>(std::lround(h * ratio_))), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio_);
  image.fill(ToQColor(back_));
  return image;
}

void Surface::Resize(int widthPx, int heightPx) {
  widthPx = std::max(1, widthPx);
  heightPx = std::max(1, heightPx);
  if (widthPx == width_px_ && heightPx == height_px_) return;
  Flush();
  QImage next = NewImage(widthPx, heightPx);
  {
    QPainter p(&next);
    p.drawImage(0, 0, image_);
  }
  image_ = std::move(next);
  width_px_ = widthPx;
  height_px_ = heightPx;
  ApplyModeScale();
  TouchPx(image_.rect());
}

void Surface::SetDevicePixelRatio(double ratio) {
  // Ratios come from the screen; an unusable one (zero, negative, absurd) keeps the image.
  if (!(ratio >= 0.25 && ratio <= 16) || ratio == ratio_) return;
  Flush();
  ratio_ = ratio;
  QImage next = NewImage(width_px_, height_px_);
  {
    QPainter p(&next);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(0, 0, width_px_, height_px_), image_);
  }
  image_ = std::move(next);
  face_ = QImage();
  faceTiles_.clear();
  TouchPx(image_.rect());
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
  width_ = width_px_ * f;
  height_ = height_px_ * f;
}

double Surface::PxX(double x) const { return (x - left_) / width_ * width_px_; }
double Surface::PxY(double y) const { return (y - top_) / height_ * height_px_; }
double Surface::UserX(double px) const { return left_ + px / width_px_ * width_; }
double Surface::UserY(double py) const { return top_ + py / height_px_ * height_; }
double Surface::PxLenX(double len) const { return std::abs(len / width_ * width_px_); }

void Surface::SetBackColor(int32_t c) {
  back_ = c;
  Flush();
  image_.fill(ToQColor(back_));
  TouchPx(image_.rect());
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
  TouchPx(image_.rect());
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
    // One widget pixel: the image pixels it covers.
    const QRect px(static_cast<int>(std::floor(std::floor(c.x()) * ratio_)),
                   static_cast<int>(std::floor(std::floor(c.y()) * ratio_)), static_cast<int>(std::ceil(ratio_)),
                   static_cast<int>(std::ceil(ratio_)));
    Flush();
    const QRect in = px.intersected(image_.rect());
    for (int py = in.top(); py <= in.bottom(); ++py)
      for (int pxx = in.left(); pxx <= in.right(); ++pxx) image_.setPixel(pxx, py, col.rgb());
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
  return fm.horizontalAdvance(QString::fromStdString(text)) / width_px_ * width_;
}

double Surface::TextHeight(const std::string&) const {
  const QFontMetricsF fm(Font());
  return fm.height() / height_px_ * height_;
}

int32_t Surface::PixelColor(int px, int py) const {
  if (px < 0 || py < 0 || px >= width_px_ || py >= height_px_) return -1;
  Flush();
  const int ix = std::min(image_.width() - 1, static_cast<int>(std::floor((px + 0.5) * ratio_)));
  const int iy = std::min(image_.height() - 1, static_cast<int>(std::floor((py + 0.5) * ratio_)));
  return FromQColor(QColor(image_.pixel(ix, iy)));
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

void Surface::Touch(const QRectF& r) {
  // Widget pixels to image pixels, with two widget pixels of room for soft edges.
  const int room = static_cast<int>(std::ceil(2 * ratio_));
  const QRectF px(r.x() * ratio_, r.y() * ratio_, r.width() * ratio_, r.height() * ratio_);
  TouchPx(px.toAlignedRect().adjusted(-room, -room, room, room));
}

void Surface::TouchPx(const QRect& r) { TouchPx(QRegion(r)); }

void Surface::TouchPx(const QRegion& r) {
  const QRegion px = r.intersected(image_.rect());
  if (px.isEmpty()) return;
  dirty_ = dirty_.united(px.boundingRect());
  drawn_ = drawn_.united(px.boundingRect());
  if (!listener_) return;
  if (ratio_ == 1) {
    listener_(px);
    return;
  }
  // The widget repaints in its own pixels: each rectangle grown out to whole ones.
  QRegion shown;
  for (const QRect& d : px) {
    const QRectF w(d.x() / ratio_, d.y() / ratio_, d.width() / ratio_, d.height() / ratio_);
    shown += w.toAlignedRect();
  }
  listener_(shown);
}

}  // namespace zk
