#include "display/StrokeSpans.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zk {

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();

// One side pair of the stroke's body as a condition on x along a row: lo <= k * x + c <= hi
// with c = c0 + c1 * y. Its x range on a row is linear in y, so the divisions are done once.
struct Slab {
  double inv = 0, c0 = 0, c1 = 0, lo = 0, hi = 0;
  bool flat = false;  // k == 0: the condition holds on a whole row or on none of it
  Slab(double k, double c0_, double c1_, double lo_, double hi_) : c0(c0_), c1(c1_), lo(lo_), hi(hi_) {
    flat = std::abs(k) < 1e-12;
    if (!flat) inv = 1 / k;
  }
  void Limit(double y, double& x0, double& x1) const {
    const double c = c0 + c1 * y;
    if (flat) {
      if (c < lo || c > hi) x0 = Inf, x1 = -Inf;
      return;
    }
    double a = (lo - c) * inv, b = (hi - c) * inv;
    if (a > b) std::swap(a, b);
    x0 = std::max(x0, a);
    x1 = std::min(x1, b);
  }
};

// ceil(v) held within [lo, hi], as an int: the same as std::ceil, without its rounding
// sequence twice a row, and no conversion of a value beyond an int.
int CeilWithin(double v, int lo, int hi) {
  v = std::clamp(v, static_cast<double>(lo), static_cast<double>(hi));
  const int i = static_cast<int>(v);
  return i < v ? i + 1 : i;
}

// Widens [x0, x1] by the chord of the disc (cx, cy, r) on the row at height y.
void Disc(double cx, double cy, double r, double y, double& x0, double& x1) {
  const double dy = y - cy, h = r * r - dy * dy;
  if (h < 0) return;
  const double w = std::sqrt(h);
  x0 = std::min(x0, cx - w);
  x1 = std::max(x1, cx + w);
}
}  // namespace

StrokeSpans::StrokeSpans(QPointF a, QPointF b, double width, const QRect& clip) {
  const double r = std::max(1.0, width) / 2;
  const double dx = b.x() - a.x(), dy = b.y() - a.y(), len = std::hypot(dx, dy);
  const double ux = len > 0 ? dx / len : 1, uy = len > 0 ? dy / len : 0;
  const int top = std::max(clip.top(), static_cast<int>(std::ceil(std::min(a.y(), b.y()) - r - 0.5)));
  const int bottom = std::min(clip.bottom(), static_cast<int>(std::floor(std::max(a.y(), b.y()) + r - 0.5)));
  if (top > bottom) return;
  runs_.reserve(static_cast<size_t>(bottom - top + 1));
  // The body: 0 <= (P - a) . u <= len along the stroke and |(P - a) . n| <= r across it,
  // with n = (-uy, ux).
  const Slab along(ux, -a.y() * uy - a.x() * ux, uy, 0, len);
  const Slab across(-uy, -a.y() * ux + a.x() * uy, ux, -r, r);
  int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
  for (int y = top; y <= bottom; ++y) {
    const double yc = y + 0.5;
    double x0 = -Inf, x1 = Inf;
    along.Limit(yc, x0, x1);
    across.Limit(yc, x0, x1);
    if (x0 > x1) x0 = Inf, x1 = -Inf;
    // The round ends.
    Disc(a.x(), a.y(), r, yc, x0, x1);
    Disc(b.x(), b.y(), r, yc, x0, x1);
    if (x0 > x1) continue;
    // Pixels whose centres fall inside [x0, x1).
    const int p0 = CeilWithin(x0 - 0.5, clip.left(), clip.right() + 1);
    const int p1 = CeilWithin(x1 - 0.5, clip.left(), clip.right() + 1);
    if (p0 >= p1) continue;
    runs_.push_back({y, p0, p1});
    left = std::min(left, p0);
    right = std::max(right, p1);
  }
  if (!runs_.empty()) bounds_ = QRect(QPoint(left, runs_.front().y), QPoint(right - 1, runs_.back().y));
}

StrokeSpans StrokeSpans::Fan(QPointF centre, double radius, double halfAngle, const QRect& clip) {
  StrokeSpans fan;
  const double slope = std::tan(halfAngle);
  const int top = std::max(clip.top(), static_cast<int>(std::ceil(centre.y() - radius - 0.5)));
  const int bottom = std::min(clip.bottom(), static_cast<int>(std::floor(centre.y() - 0.5)));
  int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
  for (int y = top; y <= bottom; ++y) {
    const double up = centre.y() - (y + 0.5);
    const double h = radius * radius - up * up;
    if (up <= 0 || h < 0) continue;
    const double half = std::min(std::sqrt(h), slope * up);
    const int p0 = CeilWithin(centre.x() - half - 0.5, clip.left(), clip.right() + 1);
    const int p1 = CeilWithin(centre.x() + half - 0.5, clip.left(), clip.right() + 1);
    if (p0 >= p1) continue;
    fan.runs_.push_back({y, p0, p1});
    left = std::min(left, p0);
    right = std::max(right, p1);
  }
  if (!fan.runs_.empty()) fan.bounds_ = QRect(QPoint(left, fan.runs_.front().y), QPoint(right - 1, fan.runs_.back().y));
  return fan;
}

std::vector<QRect> StrokeSpans::Bands(int rows) const {
  std::vector<QRect> bands;
  bands.reserve(runs_.size() / static_cast<size_t>(std::max(1, rows)) + 1);
  size_t i = 0;
  while (i < runs_.size()) {
    const int top = runs_[i].y;
    int x0 = runs_[i].x0, x1 = runs_[i].x1, bottom = top;
    for (++i; i < runs_.size() && runs_[i].y - top < rows; ++i) {
      x0 = std::min(x0, runs_[i].x0);
      x1 = std::max(x1, runs_[i].x1);
      bottom = runs_[i].y;
    }
    bands.emplace_back(QPoint(x0, top), QPoint(x1 - 1, bottom));
  }
  return bands;
}

}  // namespace zk
