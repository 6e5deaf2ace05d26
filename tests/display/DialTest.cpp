// The faces drawn by Draw_Panel: tick counts where the single-precision loops decide them,
// equal faces for the dial types that share one, and no face for unknown types.
#include <gtest/gtest.h>

#include "DisplayRig.h"

namespace zk::test {
namespace {

constexpr double Deg = 3.14159265358979 / 180;

struct DialCase {
  int32_t dialType, scaleType;
  double radius, fromDeg, toDeg;
  int ticks;
};

class DialTicks : public ::testing::TestWithParam<DialCase> {};

TEST_P(DialTicks, CountsTicksAlongAnArc) {
  const DialCase c = GetParam();
  DisplayRig rig(1280);
  rig.settings.DialType = c.dialType;
  rig.settings.ScaleType = c.scaleType;
  rig.display.Draw_Panel();
  const double cy = c.dialType == 0 || c.dialType == 3 ? 600 : 0;
  EXPECT_EQ(CountRuns(rig.panel(), 0, cy, c.radius, c.fromDeg * Deg, c.toDeg * Deg, rig.settings.Scale_Color), c.ticks);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, DialTicks,
    ::testing::Values(DialCase{1, 0, 1030, 30, 150, 41},  // traditional scale: every tick
                      DialCase{1, 0, 1055, 30, 150, 21},  // only the long ones reach the outer band
                      DialCase{2, 0, 1030, 30, 150, 41}, DialCase{1, 1, 1035, 30, 150, 9},  // simple scale
                      DialCase{0, 1, 547, 5.7, 365.7, 16},  // the 17th pass falls on the first tick
                      DialCase{3, 0, 562, 5.7, 365.7, 40}));

TEST(Dial, SharedFacesAreIdentical) {
  for (int32_t scale : {0, 1}) {
    for (auto [a, b] : {std::pair{1, 2}, std::pair{0, 3}}) {
      DisplayRig one(640), two(640);
      one.settings.ScaleType = two.settings.ScaleType = scale;
      one.settings.DialType = a;
      two.settings.DialType = b;
      one.display.Draw_Panel();
      two.display.Draw_Panel();
      EXPECT_TRUE(one.panel().Image() == two.panel().Image()) << a << " vs " << b << " scale " << scale;
    }
  }
}

TEST(Dial, TraditionalScaleLeavesGapAroundSetMark) {
  DisplayRig rig(1280);
  rig.settings.ScaleType = 0;
  rig.display.Draw_Panel();
  const int32_t scale = rig.settings.Scale_Color;
  auto bandAt = [&](double deg) { return Near(rig.At(std::cos(deg * Deg) * 1070, std::sin(deg * Deg) * 1070), scale); };
  EXPECT_TRUE(bandAt(60));
  EXPECT_TRUE(bandAt(120));
  EXPECT_FALSE(bandAt(103.75));  // the SET mark sits in the gap
}

TEST(Dial, UnknownTypesDrawNoFace) {
  for (auto [dial, scale] : {std::pair{7, 0}, std::pair{1, 5}, std::pair{0, 2}}) {
    DisplayRig rig(800);
    rig.settings.DialType = dial;
    rig.settings.ScaleType = scale;
    rig.display.Draw_Panel();
    EXPECT_EQ(rig.At(0, 750), rig.settings.Panel_Color);
    EXPECT_EQ(rig.At(300, 400), rig.settings.Panel_Color);
    EXPECT_TRUE(rig.state.ResetPending);
  }
}

}  // namespace
}  // namespace zk::test
