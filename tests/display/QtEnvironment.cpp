// The drawing tests measure text, which needs a Qt application; one is made before the
// first test runs (offscreen: CTest sets QT_QPA_PLATFORM).
#include <QApplication>

#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "DisplayRig.h"

namespace {
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!QCoreApplication::instance()) app_ = new QApplication(argc_, argv_);
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  int argc_ = 1;
  char name_[16] = "display_tests";
  char* argv_[2] = {name_, nullptr};
  QApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const Env = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
}  // namespace

namespace zk::test {

bool Near(int32_t a, int32_t b, int tol) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(((a >> shift) & 255) - ((b >> shift) & 255)) > tol) return false;
  return true;
}

int CountRuns(Surface& s, double cx, double cy, double r, double a0, double a1, int32_t color) {
  const double pxR = s.PxLenX(r);
  const int samples = static_cast<int>(std::ceil((a1 - a0) * pxR * 4));
  int runs = 0;
  bool inside = false;
  for (int i = 0; i <= samples; ++i) {
    const double a = a0 + (a1 - a0) * i / samples;
    const int px = static_cast<int>(std::floor(s.PxX(cx) + pxR * std::cos(a)));
    const int py = static_cast<int>(std::floor(s.PxY(cy) - pxR * std::sin(a)));
    const bool hit = Near(s.PixelColor(px, py), color);
    if (hit && !inside) ++runs;
    inside = hit;
  }
  return runs;
}

QRegion Differing(const QImage& x, const QImage& y) {
  QRegion diff;
  for (int row = 0; row < x.height(); ++row) {
    const auto *a = reinterpret_cast<const QRgb*>(x.constScanLine(row)),
               *b = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col)
      if (a[col] != b[col]) diff += QRect(col, row, 1, 1);
  }
  return diff;
}

int Changed(const QImage& x, const QImage& y) {
  int n = 0;
  for (const QRect& r : Differing(x, y)) n += r.width() * r.height();
  return n;
}

}  // namespace zk::test
