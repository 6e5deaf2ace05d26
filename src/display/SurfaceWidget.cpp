#include "display/SurfaceWidget.h"

#include <QBackingStore>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWindow>
#include <algorithm>
#include <cstring>

namespace zk {

namespace {
int ButtonCode(Qt::MouseButtons b) {
  int code = 0;
  if (b & Qt::LeftButton) code |= 1;
  if (b & Qt::RightButton) code |= 2;
  if (b & Qt::MiddleButton) code |= 4;
  return code;
}

int ShiftCode(Qt::KeyboardModifiers m) {
  int code = 0;
  if (m & Qt::ShiftModifier) code |= 1;
  if (m & Qt::ControlModifier) code |= 2;
  if (m & Qt::AltModifier) code |= 4;
  return code;
}
}  // namespace

SurfaceWidget::SurfaceWidget(Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  // The surface paints every pixel itself; nothing behind it needs drawing.
  setAttribute(Qt::WA_OpaquePaintEvent);
  surface_.SetDevicePixelRatio(devicePixelRatioF());
  surface_.SetChangeListener([this](const QRegion& r) { Changed(r); });
}

SurfaceWidget::~SurfaceWidget() {
  surface_.SetChangeListener({});
  holding_.erase(std::remove(holding_.begin(), holding_.end(), this), holding_.end());
}

int SurfaceWidget::holds_ = 0;
std::vector<SurfaceWidget*> SurfaceWidget::holding_;

void SurfaceWidget::Changed(const QRegion& r) {
  if (holds_ == 0) {
    update(r);
    return;
  }
  if (held_.isEmpty()) holding_.push_back(this);
  held_ += r;
}

void SurfaceWidget::Hold_Repaints() { ++holds_; }

void SurfaceWidget::Show_Held() {
  if (holds_ == 0 || --holds_ > 0) return;
  // Taken first: a repaint may run a surface's drawing, which then asks afresh.
  std::vector<SurfaceWidget*> widgets;
  widgets.swap(holding_);
  std::vector<DirectPaint> direct;
  for (SurfaceWidget* w : widgets) {
    const QRegion r = std::move(w->held_);
    w->held_ = QRegion();
    // A hidden widget paints whole when it is shown; a repaint inside a paint (which
    // Qt refuses) is left to the event loop.
    if (!w->isVisible()) continue;
    if (w->testAttribute(Qt::WA_WState_InPaintEvent)) {
      w->update(r);
    } else if (std::optional<QRegion> own = w->Direct_Region(r)) {
      direct.push_back({w, std::move(*own)});
    } else {
      w->repaint(r);
    }
  }
  Paint_Direct(direct);
}

// What the widgets changed goes straight into their window's backing store and on to the
// screen: one copy per rectangle and one flush a window, without Qt's repaint manager,
// which would look again for every widget each region touches and flush each widget.
void SurfaceWidget::Paint_Direct(std::vector<DirectPaint>& paints) {
  while (!paints.empty()) {
    QWidget* top = paints.front().widget->window();
    const auto others = std::stable_partition(paints.begin(), paints.end(),
                                              [top](const DirectPaint& d) { return d.widget->window() == top; });
    QRegion all;
    for (auto d = paints.begin(); d != others; ++d) all += d->region;
    if (!all.isEmpty()) {
      QBackingStore* store = top->backingStore();
      store->beginPaint(all);
      QPaintDevice* device = store->paintDevice();
      auto* image = device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
      std::optional<QPainter> painter;
      for (auto d = paints.begin(); d != others; ++d) {
        if (image && d->widget->Copy_Pixels(*image, d->region)) continue;
        if (!painter) painter.emplace(device);
        d->widget->Copy_To(*painter, d->region);
      }
      painter.reset();
      store->endPaint();
      store->flush(all, top->windowHandle());
    }
    for (auto d = paints.begin(); d != others; ++d) d->widget->surface_.TakeDirty();
    paints.erase(paints.begin(), others);
  }
}

namespace {
// True when `target` holds an opaque 0xffRRGGBB pixel in the same 32 bits as `source`.
bool SamePixels(QImage::Format source, QImage::Format target) {
  if (source != QImage::Format_RGB32) return source == target;
  return target == QImage::Format_RGB32 || target == QImage::Format_ARGB32 ||
         target == QImage::Format_ARGB32_Premultiplied;
}
}  // namespace

// Copies the surface's pixels under `region` (the window's coordinates) into `target`
// row by row, when both images keep a pixel in the same bits and have the same
// whole-number ratio: a copy needs no painter then. False, with nothing copied, when not.
bool SurfaceWidget::Copy_Pixels(QImage& target, const QRegion& region) const {
  const QImage& image = surface_.Image();
  const double d = image.devicePixelRatio();
  const int k = static_cast<int>(d);
  if (!SamePixels(image.format(), target.format()) || target.devicePixelRatio() != d || k != d || k < 1) return false;
  const QPoint at = mapTo(window(), QPoint(0, 0));
  const qsizetype pixel = image.depth() / 8;
  uchar* const toBits = target.bits();
  const uchar* const fromBits = image.constBits();
  const qsizetype toStride = target.bytesPerLine(), fromStride = image.bytesPerLine();
  for (const QRect& q : region) {
    // In image pixels: the target's rectangle, and the same one moved to the surface,
    // both kept inside their images.
    QRect to(q.x() * k, q.y() * k, q.width() * k, q.height() * k);
    to &= target.rect() & image.rect().translated(at * k);
    if (to.isEmpty()) continue;
    const QPoint from = to.topLeft() - at * k;
    const size_t bytes = static_cast<size_t>(to.width() * pixel);
    for (int row = 0; row < to.height(); ++row)
      std::memcpy(toBits + (to.y() + row) * toStride + to.x() * pixel,
                  fromBits + (from.y() + row) * fromStride + from.x() * pixel, bytes);
  }
  return true;
}

// Copies the surface's pixels under `region` (the window's coordinates) to `p`.
void SurfaceWidget::Copy_To(QPainter& p, const QRegion& region) const {
  const QPoint at = mapTo(window(), QPoint(0, 0));
  const QImage& image = surface_.Image();
  const double d = image.devicePixelRatio();
  for (const QRect& q : region) {
    const QRect r = q.translated(-at);
    p.drawImage(QRectF(q), image, QRectF(r.x() * d, r.y() * d, r.width() * d, r.height() * d));
  }
}

// The window's part of `changed` when it can go straight to the backing store; none when
// Qt must repaint it: a window not on screen, or pixels that other widgets share.
std::optional<QRegion> SurfaceWidget::Direct_Region(const QRegion& changed) const {
  const QWidget* top = window();
  const QWindow* win = top->windowHandle();
  if (!top->backingStore() || !win || !win->isExposed() || !updatesEnabled()) return std::nullopt;
  return Own_Pixels(changed);
}

// The part of `r` (widget coordinates) that shows this widget's own pixels, in the
// window's coordinates: clipped to the widget and its ancestors, less the opaque children
// drawn over it. None when another widget is drawn over part of it, or a child that lets
// it show through: those need Qt's repaint, which paints them again on top.
std::optional<QRegion> SurfaceWidget::Own_Pixels(QRegion r) const {
  r &= rect();
  for (QObject* o : children()) {
    if (!o->isWidgetType()) continue;
    auto* c = static_cast<QWidget*>(o);
    if (c->isWindow() || !c->isVisible() || !r.intersects(c->geometry())) continue;
    if (!c->testAttribute(Qt::WA_OpaquePaintEvent) && !c->autoFillBackground()) return std::nullopt;
    r -= c->geometry();
  }
  const QWidget* w = this;
  while (!w->isWindow()) {
    const QWidget* parent = w->parentWidget();
    r.translate(w->pos());
    r &= parent->rect();
    // The later siblings are stacked above.
    const QObjectList& siblings = parent->children();
    for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(w)) + 1; i < siblings.size(); ++i) {
      if (!siblings[i]->isWidgetType()) continue;
      auto* s = static_cast<QWidget*>(siblings[i]);
      if (!s->isWindow() && s->isVisible() && r.intersects(s->geometry())) return std::nullopt;
    }
    w = parent;
  }
  return r;
}

QSize SurfaceWidget::sizeHint() const { return {surface_.WidthPx(), surface_.HeightPx()}; }

void SurfaceWidget::Follow_Screen() {
  bool changed = false;
  auto follow = [&](SurfaceWidget* w) {
    const double ratio = w->devicePixelRatioF();
    if (ratio == w->surface_.DevicePixelRatio()) return;
    w->surface_.SetDevicePixelRatio(ratio);
    w->update();
    changed = true;
  };
  // The children first: the redraw that follows draws them too.
  for (SurfaceWidget* child : findChildren<SurfaceWidget*>()) follow(child);
  follow(this);
  if (changed && onRatioChange) onRatioChange();
}

bool SurfaceWidget::event(QEvent* e) {
  const bool handled = QWidget::event(e);
  if (e->type() == QEvent::ScreenChangeInternal) Follow_Screen();
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
  if (e->type() == QEvent::DevicePixelRatioChange) Follow_Screen();
#endif
  return handled;
}

void SurfaceWidget::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  // Each rectangle of the region on its own: a moved needle is a few thin bands, and
  // their bounding box would copy most of the dial. The image is the ratio times larger
  // than the widget; each rectangle is taken from its image pixels.
  const QImage& image = surface_.Image();
  const double d = image.devicePixelRatio();
  for (const QRect& r : e->region())
    p.drawImage(QRectF(r), image, QRectF(r.x() * d, r.y() * d, r.width() * d, r.height() * d));
  surface_.TakeDirty();
}

void SurfaceWidget::resizeEvent(QResizeEvent* e) {
  // A widget shown for the first time may only now know its screen.
  surface_.SetDevicePixelRatio(devicePixelRatioF());
  surface_.Resize(e->size().width(), e->size().height());
  QWidget::resizeEvent(e);
}

void SurfaceWidget::Forward(const MouseHandler& h, QMouseEvent* e, bool buttonsHeld) {
  if (!h) return;
  const int button = buttonsHeld ? ButtonCode(e->buttons()) : ButtonCode(e->button());
  const QPointF pos = e->position();
  h(button, ShiftCode(e->modifiers()), static_cast<float>(surface_.UserX(pos.x())),
    static_cast<float>(surface_.UserY(pos.y())));
}

void SurfaceWidget::mousePressEvent(QMouseEvent* e) { Forward(onMouseDown, e, false); }
void SurfaceWidget::mouseMoveEvent(QMouseEvent* e) { Forward(onMouseMove, e, true); }
void SurfaceWidget::mouseReleaseEvent(QMouseEvent* e) { Forward(onMouseUp, e, false); }

}  // namespace zk
