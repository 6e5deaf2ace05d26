// Needle strokes as runs of pixels: they cover what a round-capped pen of the same width
// covers, so the needle looks as it did when Qt's stroker drew it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <random>
#include <set>
#include <utility>

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
  // A diagonal's boxes cover every pixel and a small part of its bounding box.
  int area = 0;
  QRegion boxes;
  std::vector<QRect> held;
  s.Boxes(held);
  for (const QRect& box : held) area += box.width() * box.height(), boxes += box;
  EXPECT_LT(area, s.Bounds().width() * s.Bounds().height() / 4);
  for (const StrokeSpans::Run& r : s.Runs()) EXPECT_TRUE(boxes.contains(QRect(r.x0, r.y, r.x1 - r.x0, 1))) << r.y;
  EXPECT_TRUE(StrokeSpans(QPointF(200, 200), QPointF(300, 300), 4, clip).Empty());
}

// The pixels of a stroke, as a set of (x, y).
std::set<std::pair<int, int>> Pixels(const StrokeSpans& s) {
  std::set<std::pair<int, int>> px;
  for (const StrokeSpans::Run& r : s.Runs())
    for (int x = r.x0; x < r.x1; ++x) px.insert({x, r.y});
  return px;
}

// The pixels only `a` has, and whether `s` holds exactly them, top to bottom and left to
// right, never overlapping, bounded as any stroke is.
::testing::AssertionResult HoldsOnlyTheFirsts(const StrokeSpans& s, const StrokeSpans& a, const StrokeSpans& b) {
  std::set<std::pair<int, int>> want;
  const auto theirs = Pixels(b);
  for (const auto& p : Pixels(a))
    if (!theirs.count(p)) want.insert(p);
  if (Pixels(s) != want) return ::testing::AssertionFailure() << "other pixels";
  for (size_t k = 1; k < s.Runs().size(); ++k) {
    const StrokeSpans::Run &p = s.Runs()[k - 1], &q = s.Runs()[k];
    if (!(p.y < q.y || (p.y == q.y && p.x1 < q.x0))) return ::testing::AssertionFailure() << "out of order";
  }
  QRect box;
  for (const auto& [x, y] : want) box |= QRect(x, y, 1, 1);
  if (s.Bounds() != box) return ::testing::AssertionFailure() << "bounds";
  return ::testing::AssertionSuccess();
}

// What a move changes: crossing, overlapping, nested and apart strokes, a row split in two
// where a thin stroke crosses a wide one, and the needle's case of a stroke moved a little;
// and the two parts merged again hold what either stroke has and the other has not.
TEST(StrokeSpans, DifferenceHoldsExactlyThePixelsOnlyOneStrokeHas) {
  std::mt19937 gen(11);
  std::uniform_real_distribution<double> at(-10, 110), width(2, 9), nudge(-3, 3);
  const QRect clip(0, 0, 100, 100);
  StrokeSpans gone, come, both;  // used again and again, as the needle drawer does
  for (int i = 0; i < 300; ++i) {
    const QPointF a(at(gen), at(gen)), b(at(gen), at(gen));
    const StrokeSpans from(a, b, width(gen), clip);
    const StrokeSpans to = i % 2 ? StrokeSpans(a + QPointF(nudge(gen), 0), b + QPointF(nudge(gen), 0), 4, clip)
                                 : StrokeSpans(QPointF(at(gen), at(gen)), QPointF(at(gen), at(gen)), 2, clip);
    StrokeSpans::Difference(from, to, gone, come);
    ASSERT_TRUE(HoldsOnlyTheFirsts(gone, from, to)) << i;
    ASSERT_TRUE(HoldsOnlyTheFirsts(come, to, from)) << i;
    StrokeSpans::Merge(gone, come, both);
    auto either = Pixels(gone);
    for (const auto& p : Pixels(come)) either.insert(p);
    ASSERT_EQ(Pixels(both), either) << i;
    ASSERT_EQ(both.Bounds(), gone.Bounds() | come.Bounds()) << i;
    for (size_t k = 1; k < both.Runs().size(); ++k) {
      const StrokeSpans::Run &p = both.Runs()[k - 1], &q = both.Runs()[k];
      ASSERT_TRUE(p.y < q.y || (p.y == q.y && p.x1 <= q.x0)) << i;
    }
  }
  const StrokeSpans stroke(QPointF(5, 5), QPointF(50, 50), 3, clip);
  StrokeSpans::Difference(StrokeSpans(), stroke, gone, come);
  EXPECT_TRUE(gone.Empty());
  EXPECT_TRUE(come == stroke);
  StrokeSpans::Difference(stroke, stroke, gone, come);
  EXPECT_TRUE(gone.Empty() && come.Empty());
}

}  // namespace
}  // namespace zk::test
