#include "app/ButtonIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace zk {

namespace {

constexpr int Size = 32;

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c) { p.drawPolygon(QPolygonF({a, b, c})); }

// Everything is drawn on a 32 x 32 grid with a dark outline so the pictures read on
// both light and dark button faces.
void Draw(QPainter& p, const QString& key) {
  const QColor ink(40, 40, 48);
  p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  if (key == "Play") {
    p.setBrush(QColor(40, 160, 60));
    Triangle(p, {10, 6}, {26, 16}, {10, 26});
  } else if (key == "Pause") {
    p.setBrush(ink);
    p.drawRect(QRectF(9, 7, 5, 18));
    p.drawRect(QRectF(18, 7, 5, 18));
  } else if (key == "Stop") {
    p.setBrush(ink);
    p.drawRect(QRectF(8, 8, 16, 16));
  } else if (key == "Record") {
    p.setBrush(QColor(210, 30, 30));
    p.drawEllipse(QPointF(16, 16), 9, 9);
  } else if (key == "Fwd") {
    p.setBrush(ink);
    Triangle(p, {5, 8}, {16, 16}, {5, 24});
    Triangle(p, {16, 8}, {27, 16}, {16, 24});
  } else if (key == "Rev") {
    p.setBrush(ink);
    Triangle(p, {27, 8}, {16, 16}, {27, 24});
    Triangle(p, {16, 8}, {5, 16}, {16, 24});
  } else if (key == "Load") {
    // An open folder.
    p.setBrush(QColor(230, 190, 80));
    QPainterPath back;
    back.moveTo(4, 9);
    back.lineTo(12, 9);
    back.lineTo(14, 12);
    back.lineTo(26, 12);
    back.lineTo(26, 25);
    back.lineTo(4, 25);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 215, 110));
    p.drawPolygon(QPolygonF({QPointF(7, 15), QPointF(29, 15), QPointF(26, 25), QPointF(4, 25)}));
  } else if (key == "Save") {
    // A floppy disk.
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(QRectF(6, 6, 20, 20));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(10, 6, 12, 7));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(9, 17, 14, 9));
  } else if (key == "Settings") {
    // A cog wheel.
    p.setBrush(QColor(120, 120, 130));
    QPainterPath cog;
    for (int i = 0; i < 8; ++i) {
      QTransform t;
      t.translate(16, 16);
      t.rotate(i * 45.0);
      cog.addPolygon(t.map(QPolygonF(QRectF(-2.5, -12, 5, 6))));
    }
    cog.addEllipse(QPointF(16, 16), 8, 8);
    cog.setFillRule(Qt::WindingFill);
    p.drawPath(cog.simplified());
    p.setBrush(QColor(245, 245, 245));
    p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
  } else if (key == "Loop") {
    // A circular arrow: play repeats.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 110, 190), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(QRectF(7, 7, 18, 18), 60 * 16, 300 * 16);
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(40, 110, 190));
    Triangle(p, {18, 3}, {25, 9}, {16, 12});
  } else if (key == "Single") {
    // An arrow to a bar: play once to the end.
    p.setPen(QPen(QColor(40, 110, 190), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(5, 16), QPointF(19, 16));
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(40, 110, 190));
    Triangle(p, {17, 9}, {24, 16}, {17, 23});
    p.setBrush(ink);
    p.drawRect(QRectF(25, 8, 3, 16));
  }
}

}  // namespace

QStringList ButtonIconKeys() {
  return {"Pause", "Settings", "Rev", "Save", "Stop", "Fwd", "Single", "Load", "Play", "Record", "Loop"};
}

QIcon ButtonIcon(const std::string& key) {
  const QString k = QString::fromStdString(key);
  if (!ButtonIconKeys().contains(k)) return QIcon();
  QIcon icon;
  for (qreal scale : {1.0, 2.0}) {
    QPixmap pm(QSize(Size, Size) * scale);
    pm.setDevicePixelRatio(scale);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, k);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace zk
