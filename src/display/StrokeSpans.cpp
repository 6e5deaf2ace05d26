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
  // lo and hi in the order their x bounds come on a row: the order is the sign of 1 / k.
  double first = 0, second = 0;
  bool flat = false;  // k == 0: the condition holds on a whole row or on none of it
  Slab(double k, double c0_, double c1_, double lo_, double hi_) : c0(c0_), c1(c1_), lo(lo_), hi(hi_) {
    flat = std::abs(k) < 1e-12;
    if (flat) return;
    inv = 1 / k;
    first = inv > 0 ? lo : hi;
    second = inv > 0 ? hi : lo;
  }
  void Limit(double y, double& x0, double& x1) const {
    const double c = c0 + c1 * y;
    if (flat) {
      if (c < lo || c > hi) x0 = Inf, x1 = -Inf;
      return;
    }
    x0 = std::max(x0, (first - c) * inv);
    x1 = std::min(x1, (second - c) * inv);
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
  // Written through a pointer into room for every row: a push_back's checks are a good
  // part of a row's few steps.
  runs_.resize(static_cast<size_t>(bottom - top + 1));
  Run* out = runs_.data();
  // The body: 0 <= (P - a) . u <= len along the stroke and |(P - a) . n| <= r across it,
  // with n = (-uy, ux).
  const Slab along(ux, -a.y() * uy - a.x() * ux, uy, 0, len);
  const Slab across(-uy, -a.y() * ux + a.x() * uy, ux, -r, r);
  // The rows a round end can reach, with a row to spare: the others skip its disc.
  auto reach = [&](QPointF c, int& from, int& to) {
    from = static_cast<int>(std::ceil(c.y() - r - 0.5)) - 1;
    to = static_cast<int>(std::floor(c.y() + r - 0.5)) + 1;
  };
  int aFrom, aTo, bFrom, bTo;
  reach(a, aFrom, aTo);
  reach(b, bFrom, bTo);
  int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
  for (int y = top; y <= bottom; ++y) {
    const double yc = y + 0.5;
    double x0 = -Inf, x1 = Inf;
    along.Limit(yc, x0, x1);
    across.Limit(yc, x0, x1);
    if (x0 > x1) x0 = Inf, x1 = -Inf;
    // The round ends.
    if (y >= aFrom && y <= aTo) Disc(a.x(), a.y(), r, yc, x0, x1);
    if (y >= bFrom && y <= bTo) Disc(b.x(), b.y(), r, yc, x0, x1);
    if (x0 > x1) continue;
    // Pixels whose centres fall inside [x0, x1).
    const int p0 = CeilWithin(x0 - 0.5, clip.left(), clip.right() + 1);
    const int p1 = CeilWithin(x1 - 0.5, clip.left(), clip.right() + 1);
    if (p0 >= p1) continue;
    *out++ = {y, p0, p1};
    left = std::min(left, p0);
    right = std::max(right, p1);
  }
  runs_.resize(static_cast<size_t>(out - runs_.data()));
  Close(left, right);
}

StrokeSpans StrokeSpans::Fan(QPointF centre, double radius, double halfAngle, const QRect& clip) {
  StrokeSpans fan;
  const double slope = std::tan(halfAngle);
  const int top = std::max(clip.top(), static_cast<int>(std::ceil(centre.y() - radius - 0.5)));
  const int bottom = std::min(clip.bottom(), static_cast<int>(std::floor(centre.y() - 0.5)));
  for (int y = top; y <= bottom; ++y) {
    const double up = centre.y() - (y + 0.5);
    const double h = radius * radius - up * up;
    if (up <= 0 || h < 0) continue;
    const double half = std::min(std::sqrt(h), slope * up);
    const int p0 = CeilWithin(centre.x() - half - 0.5, clip.left(), clip.right() + 1);
    const int p1 = CeilWithin(centre.x() + half - 0.5, clip.left(), clip.right() + 1);
    if (p0 >= p1) continue;
    fan.runs_.push_back({y, p0, p1});
  }
  fan.Close();
  return fan;
}

namespace {
// Appends to `out` the pixels of run r that run c of the same row does not hold.
inline void Cut(const StrokeSpans::Run& r, const StrokeSpans::Run& c, std::vector<StrokeSpans::Run>& out) {
  if (c.x1 <= r.x0 || c.x0 >= r.x1) {  // apart
    out.push_back(r);
    return;
  }
  if (r.x0 < c.x0) out.push_back({r.y, r.x0, c.x0});
  if (c.x1 < r.x1) out.push_back({r.y, c.x1, r.x1});
}
}  // namespace

void StrokeSpans::Difference(const StrokeSpans& from, const StrokeSpans& to, StrokeSpans& gone, StrokeSpans& come) {
  gone.runs_.clear();
  come.runs_.clear();
  const Run *a = from.runs_.data(), *const aEnd = a + from.runs_.size();
  const Run *b = to.runs_.data(), *const bEnd = b + to.runs_.size();
  while (a != aEnd && b != bEnd) {
    if (a->y < b->y) {  // a row only `from` has
      gone.runs_.push_back(*a++);
    } else if (b->y < a->y) {
      come.runs_.push_back(*b++);
    } else {  // most rows of a slow move are the same run in both
      if (!(*a == *b)) {
        Cut(*a, *b, gone.runs_);
        Cut(*b, *a, come.runs_);
      }
      ++a, ++b;
    }
  }
  gone.runs_.insert(gone.runs_.end(), a, aEnd);
  come.runs_.insert(come.runs_.end(), b, bEnd);
  gone.Close();
  come.Close();
}

void StrokeSpans::Merge(const StrokeSpans& a, const StrokeSpans& b, StrokeSpans& out) {
  out.runs_.resize(a.runs_.size() + b.runs_.size());
  std::merge(a.runs_.begin(), a.runs_.end(), b.runs_.begin(), b.runs_.end(), out.runs_.begin(),
             [](const Run& p, const Run& q) { return p.y < q.y || (p.y == q.y && p.x0 < q.x0); });
  out.Close();
}

void StrokeSpans::Close() {
  int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
  for (const Run& r : runs_) {
    left = std::min(left, r.x0);
    right = std::max(right, r.x1);
  }
  Close(left, right);
}

void StrokeSpans::Close(int left, int right) {
  bounds_ = runs_.empty() ? QRect() : QRect(QPoint(left, runs_.front().y), QPoint(right - 1, runs_.back().y));
}

void StrokeSpans::Boxes(std::vector<QRect>& boxes) const {
  // A rectangle may hold up to twice its runs' pixels and this many more: each rectangle
  // costs the window a request to the display server, worth a few hundred pixels. (An
  // image's sides are well within 2^15 pixels, so the areas fit an int.)
  constexpr int Slack = 256;
  boxes.clear();
  if (runs_.empty()) return;
  int top = runs_[0].y, bottom = top, x0 = runs_[0].x0, x1 = runs_[0].x1, pixels = x1 - x0;
  for (size_t i = 1; i < runs_.size(); ++i) {
    const Run& r = runs_[i];
    const int nx0 = std::min(x0, r.x0), nx1 = std::max(x1, r.x1), held = pixels + (r.x1 - r.x0);
    // A run on the rectangle's last row always joins it: rectangles share no row.
    if (r.y == bottom || (nx1 - nx0) * (r.y - top + 1) <= 2 * held + Slack) {
      x0 = nx0, x1 = nx1, bottom = r.y, pixels = held;
      continue;
    }
    boxes.emplace_back(QPoint(x0, top), QPoint(x1 - 1, bottom));
    top = bottom = r.y, x0 = r.x0, x1 = r.x1, pixels = r.x1 - r.x0;
  }
  boxes.emplace_back(QPoint(x0, top), QPoint(x1 - 1, bottom));
}

}  // namespace zk
