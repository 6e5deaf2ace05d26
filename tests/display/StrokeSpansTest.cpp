// Needle strokes as runs of pixels: they cover what a round-capped pen of the same width
// covers, so the needle looks as it did when Qt's stroker drew it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <random>

#include "display/StrokeSpans.h"

namespace zk::test {
namespace {

// Pixels set by the runs but not by the pen, and the other way round.
int Differences(QPointF a, QPointF b, int width) {
  QImage pen(200, 200, QImage::Format_RGB32), runs(200, 200, QImage::Format_RGB32);
  pen.fill(Qt::white);
  runs.fill(Qt::white);
  {
    QPainter p(&pen);
    QPen qp(Qt::black);
    qp.setWidthF(width);
    qp.setCapStyle(Qt::RoundCap);
    p.setPen(qp);
    p.drawLine(a, b);
  }
  const StrokeSpans spans(a, b, width, runs.rect());
  for (const StrokeSpans::Run& r : spans.Runs())
    for (int x = r.x0; x < r.x1; ++x) runs.setPixel(x, r.y, qRgb(0, 0, 0));
  int diff = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) diff += pen.pixel(x, y) != runs.pixel(x, y);
  return diff;
}

// Pens of two pixels and more; the needle of width 1 is drawn as a plain line. The pen's
// outline is rounded to 1/64 pixel and its ends are curves made of straight pieces, so a
// pixel whose centre lies within a hair of the edge may fall either way: a handful per
// stroke (under one in a hundred of its pixels), never a visible change.
TEST(StrokeSpans, CoverWhatARoundCappedPenCovers) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> at(20, 180);
  for (int width = 2; width <= 8; ++width) {
    int worst = 0, total = 0, pixels = 0;
    for (int i = 0; i < 200; ++i) {
      const QPointF a(at(gen), at(gen)), b(at(gen), at(gen));
      const int d = Differences(a, b, width);
      worst = std::max(worst, d);
      total += d;
      pixels += static_cast<int>(QLineF(a, b).length() * width);
    }
    EXPECT_LE(worst, 12) << "width " << width;
    EXPECT_LT(total * 100, pixels) << "width " << width;
  }
}

TEST(StrokeSpans, ClippedAndBandedAlongTheStroke) {
  const QRect clip(0, 0, 100, 100);
  const StrokeSpans s(QPointF(-20, -20), QPointF(150, 150), 4, clip);
  ASSERT_FALSE(s.Empty());
  EXPECT_TRUE(clip.contains(s.Bounds()));
  EXPECT_EQ(s.Runs().front().y, 0);
  EXPECT_EQ(s.Runs().back().y, 99);
  // A diagonal's bands cover a small part of its bounding box.
  int area = 0;
  for (const QRect& band : s.Bands(16)) area += band.width() * band.height();
  EXPECT_LT(area, s.Bounds().width() * s.Bounds().height() / 4);
  EXPECT_TRUE(StrokeSpans(QPointF(200, 200), QPointF(300, 300), 4, clip).Empty());
}

}  // namespace
}  // namespace zk::test
