// Needle strokes on every dial type, exact erasing, the continuous dial's shadow and the
// derived colours.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "DisplayRig.h"
#include "display/DerivedColors.h"

namespace zk::test {
namespace {

TEST(Needle, RestsOnSetMarkOfTraditionalDial) {
  DisplayRig rig(1280);
  rig.Needle(-2503);
  const int32_t needle = rig.settings.MainNeedle_Color;
  EXPECT_EQ(rig.AtNeedle(-2503, 600, 0), needle);
  EXPECT_EQ(rig.AtNeedle(-2503, 950, 0), needle);
  EXPECT_EQ(rig.AtNeedle(0, 750, 0), rig.settings.Dial_Color);
  EXPECT_FALSE(rig.state.ResetPending);
  // A frozen needle keeps following the value, in the freeze colour.
  rig.settings.FreezeNeedle_Color = 0x00FF00;
  rig.state.NeedleFrozen = true;
  rig.Needle(4000);
  EXPECT_EQ(rig.AtNeedle(4000, 750, 0), 0x00FF00);
  EXPECT_EQ(rig.AtNeedle(-2503, 750, 0), rig.settings.Dial_Color);
}

TEST(Needle, PauseIsPrintedOverTheNeedleWhichStaysAndEndRemovesIt) {
  DisplayRig rig;
  rig.Needle(-2503);
  const int32_t needle = rig.settings.MainNeedle_Color;
  rig.display.Show_TransportWord("PAUSE");
  EXPECT_EQ(rig.AtNeedle(-2503, 600, 0), needle);
  rig.display.Show_TransportWord("END");
  EXPECT_EQ(rig.AtNeedle(-2503, 600, 0), rig.settings.Dial_Color);
}

TEST(Needle, CircularDialsPointUpAtZeroAndCircular2HasTwoEnds) {
  for (int32_t type : {0, 3}) {
    DisplayRig rig(1280);
    rig.settings.DialType = type;
    rig.Needle(0);
    const int32_t needle = rig.settings.MainNeedle_Color;
    EXPECT_EQ(rig.At(0, 600 + 300), needle) << type;
    EXPECT_EQ(rig.At(0, 600 - 300), type == 3 ? needle : rig.settings.Dial_Color) << type;
  }
}

// The face after any number of moves equals a fresh face with only the last stroke on it.
TEST(Needle, ThousandRandomMovesLeaveNoTrace) {
  for (int32_t type : {0, 1, 2, 3}) {
    DisplayRig moved(800), fresh(800);
    for (DisplayRig* r : {&moved, &fresh}) {
      r->settings.DialType = type;
      r->settings.ShadowNeedleColor_Index = 5;
      Calc_ShadowNeedleColor(r->ctx);
    }
    const int32_t range = type == 0 || type == 3 ? 32767 : 10500;
    std::mt19937 gen(1234 + type);
    std::uniform_int_distribution<int32_t> value(-range, range);
    for (int i = 0; i < 1000; ++i) moved.Needle(value(gen));
    moved.Needle(8000);
    fresh.Needle(8000);
    EXPECT_TRUE(moved.panel().Image() == fresh.panel().Image()) << "dial type " << type;
  }
}

// A hand drifting a few units a reading, shadow and mirror end included: after each move
// the panel is what a fresh draw gives, every pixel that changed was announced to the
// window, a needle something drew over is whole again, and a small move announces far
// fewer pixels than the two strokes cover.
TEST(Needle, SmallMovesChangeAndAnnounceOnlyWhatMoved) {
  for (int32_t type : {0, 1, 2, 3}) {
    for (int16_t width : {3, 8}) {
      DisplayRig rig(640), fresh(640);
      for (DisplayRig* r : {&rig, &fresh}) {
        r->settings.DialType = type;
        r->settings.Needle_Width = width;
        r->settings.ShadowNeedleColor_Index = 5;
        Calc_ShadowNeedleColor(r->ctx);
      }
      QRegion announced;
      rig.panel().SetChangeListener([&](const QRegion& r) { announced += r; });
      std::mt19937 gen(5 + type * 10 + width);
      std::uniform_int_distribution<int32_t> step(-12, 12);
      // Small steps, and jumps that bring the continuous dial's shadow and take it away.
      const std::map<int, int32_t> jumps{{40, 7000}, {80, 3900}, {120, 6500}};
      int32_t p = 5000;
      rig.Needle(p);
      fresh.Needle(p);
      auto area = [&] {
        int64_t a = 0;
        for (const QRect& r : announced) a += int64_t{r.width()} * r.height();
        return a;
      };
      int64_t moved = 0;
      for (int i = 0; i < 160; ++i) {
        const bool jump = jumps.count(i) != 0;
        p = jump ? jumps.at(i) : p + step(gen);
        // At times something else wipes a spot of the needle first: the next move, however
        // small, draws the needle whole again.
        const bool wiped = !jump && i % 20 == 10;
        const bool circular = type == 0 || type == 3;
        const double mid = circular ? 275 : 750, pivot = circular ? 600 : 0;
        if (wiped) {
          Surface& face = rig.panel();
          face.DrawWidth = 1;
          face.FillStyle = Surface::FillSolid;
          face.FillColor = rig.settings.Dial_Color;
          const double t = p * 6.28318 / 65536;
          face.Circle(std::sin(t) * mid, std::cos(t) * mid + pivot, 20, rig.settings.Dial_Color);
        }
        const QImage before = rig.panel().Image().copy();
        announced = QRegion();
        rig.Needle(p);
        if (wiped) {
          EXPECT_EQ(rig.AtNeedle(p, mid, pivot), rig.settings.MainNeedle_Color) << "type " << type << ", move " << i;
        }
        ASSERT_TRUE((Differing(before, rig.panel().Image()) - announced).isEmpty())
            << "type " << type << ", width " << width << ", move " << i;
        if (!jump) moved += area();
        // The fresh rig follows every move, so the shadow's hysteresis agrees, and at
        // times paints its whole face and needle anew.
        fresh.state.ResetPending = i % 40 == 39;
        fresh.Needle(p);
        if (i % 40 == 39) {
          ASSERT_TRUE(rig.panel().Image() == fresh.panel().Image()) << "type " << type << ", move " << i;
        }
      }
      // The strokes drawn on a face without them, against the average move.
      rig.display.Remove_Needle();
      announced = QRegion();
      rig.Needle(p);
      EXPECT_LT(moved / 157, area() / 2) << "type " << type << ", width " << width;
    }
  }
}

TEST(Needle, ContinuousDialShadowHasHysteresis) {
  DisplayRig rig(1280);
  rig.settings.DialType = 2;
  rig.settings.ShadowNeedleColor_Index = 5;  // the shadow in the needle colour, easy to see
  Calc_ShadowNeedleColor(rig.ctx);
  const int32_t needle = rig.settings.MainNeedle_Color, dial = rig.settings.Dial_Color;
  struct Step {
    int32_t p;
    bool shadow;
  };
  for (Step s : {Step{0, false}, Step{5000, false}, Step{6000, false}, Step{6001, true}, Step{7000, true},
                 Step{5000, true}, Step{4000, true}}) {
    rig.Needle(s.p);
    EXPECT_EQ(rig.display.needle.Strokes().ShadowVisible != 0, s.shadow) << s.p;
    if (s.p >= 4000) {
      EXPECT_EQ(rig.AtNeedle(s.p - 14016, 750, 0), s.shadow ? needle : dial) << s.p;
    }
  }
  rig.Needle(3999);  // the first value below 4000 removes the old shadow and draws none
  EXPECT_EQ(rig.display.needle.Strokes().ShadowVisible, 0);
  EXPECT_EQ(rig.AtNeedle(4000 - 14016, 750, 0), dial);
  rig.Needle(-7000);  // on the other side the shadow trails to the right
  EXPECT_EQ(rig.AtNeedle(-7000 + 14016, 750, 0), needle);
}

TEST(Needle, ZeroWidthDrawsNothingButStillRecords) {
  DisplayRig rig(800);
  rig.settings.Needle_Width = 0;
  rig.display.Draw_Panel();
  const QImage face = rig.panel().Image();
  rig.state.OperatingMode = ModeRecording;
  rig.state.SyncTestActive = true;
  rig.state.SyncValue = 1234;
  rig.engine.Update_Needle();
  EXPECT_FALSE(rig.state.ResetPending);
  EXPECT_EQ(rig.recorder.samples, std::vector<int16_t>{1234});
  EXPECT_TRUE(rig.panel().Image() == face);
}

// A needle at rest is not drawn again; one that something else drew over is, even at rest.
TEST(Needle, AtRestRepaintsNothingUntilSomethingDrawsOverIt) {
  for (int32_t type : {0, 1, 2, 3}) {
    DisplayRig rig(1280);
    rig.settings.DialType = type;
    const bool circular = type == 0 || type == 3;
    const int32_t p = circular ? 0 : -2503;
    auto onNeedle = [&] { return circular ? rig.At(0, 900) : rig.AtNeedle(p, 750, 0); };
    rig.Needle(p);
    rig.panel().TakeDirty();
    rig.Needle(p);
    EXPECT_TRUE(rig.panel().Dirty().isEmpty()) << type;
    rig.display.Remove_Needle();
    rig.Needle(p);
    EXPECT_EQ(onNeedle(), rig.settings.MainNeedle_Color) << type;
    // The frozen colour is a change of its own.
    rig.settings.FreezeNeedle_Color = 0x00FF00;
    rig.state.NeedleFrozen = true;
    rig.Needle(p);
    EXPECT_EQ(onNeedle(), 0x00FF00) << type;
  }
}

// Nothing of the needle is left once it is removed, its round tip beyond the wiped zone
// included, on every dial and width.
TEST(Needle, RemoveLeavesNoSpeckOfTheNeedle) {
  for (int32_t type : {0, 1, 2, 3}) {
    for (int32_t width : {2, 8}) {
      DisplayRig rig(1280);
      rig.settings.DialType = type;
      rig.settings.Needle_Width = width;
      rig.settings.MainNeedle_Color = 0x0000FE;  // a colour of the needle alone
      rig.display.Draw_Panel();
      rig.Needle(3000);
      rig.display.Remove_Needle();
      const QImage& im = rig.panel().Image();
      int left = 0;
      for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x) left += rig.panel().PixelColor(x, y) == 0x0000FE;
      EXPECT_EQ(left, 0) << "dial " << type << ", width " << width;
    }
  }
}

TEST(Needle, RemoveWipesOnlyTheNeedleZone) {
  DisplayRig rig(1280);
  rig.settings.ScaleType = 0;
  rig.Needle(-2503);
  rig.state.StatusText = "Playback";
  rig.display.Remove_Needle();
  EXPECT_EQ(rig.AtNeedle(-2503, 750, 0), rig.settings.Dial_Color);
  EXPECT_EQ(CountRuns(rig.panel(), 0, 0, 1030, 0.52, 2.62, rig.settings.Scale_Color), 41);
  EXPECT_EQ(rig.At(0, 300), rig.settings.Panel_Color);  // the hollow centre is back
  EXPECT_FALSE(rig.state.ResetPending);
  // Circular dials keep their hub ring.
  rig.settings.DialType = 0;
  rig.display.Draw_Panel();
  rig.display.Remove_Needle();
  EXPECT_TRUE(Near(rig.At(35, 600), rig.settings.Scale_Color));
}

TEST(DerivedColors, BlendsAndChannels) {
  TestContext t;
  t.settings.Dial_Color = 0xFFFFFF;
  t.settings.MainNeedle_Color = 0x0000FF;  // red
  t.settings.ShadowNeedleColor_Index = 0;
  Calc_ShadowNeedleColor(t.ctx);
  EXPECT_EQ(t.state.ShadowNeedleColor, 0xFFFFFF);  // off: invisible on the dial
  t.settings.ShadowNeedleColor_Index = 5;
  Calc_ShadowNeedleColor(t.ctx);
  EXPECT_EQ(t.state.ShadowNeedleColor, 0x0000FF);
  t.settings.ShadowNeedleColor_Index = 3;  // 7/20: 255 - 0.35 x 255 = 165.75 -> 166
  Calc_ShadowNeedleColor(t.ctx);
  EXPECT_EQ(t.state.ShadowNeedleColor, 0xA6A6FF);
  Calc_FaintNeedleColor(t.ctx);  // 255 - 51 = 204
  EXPECT_EQ(t.state.FaintNeedleColor, 0xCCCCFF);
  // Dim text: the integer fifth is truncated toward zero.
  t.settings.Panel_Color = 0x030003 | (200 << 8);
  t.settings.Text_Color = 0x070000;
  Calc_DimTextColor(t.ctx);
  EXPECT_EQ(t.state.DimTextColor, 3 + 160 * 256 + 3 * 65536);
  int32_t r = 0, g = 0, b = 0;
  Get_Red(0x123456, r);
  Get_Green(0x123456, g);
  Get_Blue(0x123456, b);
  EXPECT_EQ(r, 0x56);
  EXPECT_EQ(g, 0x34);
  EXPECT_EQ(b, 0x12);
}

}  // namespace
}  // namespace zk::test
