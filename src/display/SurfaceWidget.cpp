#include "display/SurfaceWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

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
  surface_.SetChangeListener([this](const QRegion& r) { update(r); });
}

SurfaceWidget::~SurfaceWidget() { surface_.SetChangeListener({}); }

QSize SurfaceWidget::sizeHint() const { return surface_.Image().size(); }

void SurfaceWidget::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  // Each rectangle of the region on its own: a moved needle is a few thin bands, and
  // their bounding box would copy most of the dial.
  const QImage& image = surface_.Image();
  for (const QRect& r : e->region()) p.drawImage(r.topLeft(), image, r);
  surface_.TakeDirty();
}

void SurfaceWidget::resizeEvent(QResizeEvent* e) {
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
