// The sensitivity knob's mouse rules and pointer, the base and BD readouts, the lamp and
// the BD counter's press handlers.
#include <gtest/gtest.h>

#include <cmath>

#include "DisplayRig.h"
#include "display/DerivedColors.h"
#include "display/Knob.h"

namespace zk::test {
namespace {

TEST(Knob, ClicksSelectSteps) {
  DisplayRig rig;
  struct Click {
    float x, y;
    int16_t step;
  };
  // 45 degrees up-right; the negative and positive x axes (single precision decides 10 and
  // 52); the gap at the bottom on either side of the vertical.
  for (Click c : {Click{0.5f, 0.5f, 42}, Click{-0.5f, 0.0f, 10}, Click{0.5f, 0.0f, 52}, Click{-0.1f, -0.8f, 0},
                  Click{0.1f, -0.8f, 63}, Click{-0.6f, -0.6f, 0}, Click{0.6f, -0.6f, 63}}) {
    rig.settings.SensitivityIndex = 30;
    rig.display.picKnob_MouseDown(1, 0, c.x, c.y);
    EXPECT_EQ(rig.settings.SensitivityIndex, c.step) << c.x << "," << c.y;
  }
}

TEST(Knob, IgnoresOtherButtonsTheVerticalAxisAndPlayback) {
  DisplayRig rig;
  rig.settings.SensitivityIndex = 30;
  rig.display.picKnob_MouseDown(0, 0, 0.0f, 0.5f);  // exactly on the axis
  rig.display.picKnob_MouseDown(1, 0, 0.0f, 0.5f);
  rig.display.picKnob_MouseMove(2, 0, 0.5f, 0.5f);  // dragging with the right button
  EXPECT_EQ(rig.settings.SensitivityIndex, 30);
  rig.display.picKnob_MouseMove(1, 0, 0.5f, 0.5f);  // dragging with the left button
  EXPECT_EQ(rig.settings.SensitivityIndex, 42);
  rig.state.OperatingMode = ModePlayback;
  rig.display.picKnob_MouseDown(1, 0, -0.5f, 0.0f);
  EXPECT_EQ(rig.settings.SensitivityIndex, 42);
  rig.state.PlaybackOverride = true;
  rig.display.picKnob_MouseDown(1, 0, -0.5f, 0.0f);
  EXPECT_EQ(rig.settings.SensitivityIndex, 10);
}

TEST(Knob, PointerFollowsStepAndBadStepStopsBeforeLabel) {
  DisplayRig rig(1280);
  Surface& k = rig.display.picKnob;
  auto pointerAt = [&](double deg) {
    const double a = deg * 3.14159265 / 180;
    return k.PixelColor(static_cast<int>(k.PxX(std::cos(a) * 0.6)), static_cast<int>(k.PxY(std::sin(a) * 0.6)));
  };
  const int32_t text = rig.settings.Text_Color, panel = rig.settings.Panel_Color;
  rig.settings.SensitivityIndex = 0;
  rig.display.Update_SensKnob();
  EXPECT_EQ(pointerAt(225), text);
  EXPECT_EQ(pointerAt(-45), panel);
  rig.settings.SensitivityIndex = 63;
  rig.display.Update_SensKnob();
  EXPECT_EQ(pointerAt(-45), text);
  EXPECT_EQ(pointerAt(225), panel);
  rig.settings.SensitivityIndex = 70;  // beyond the knob: drawn, not thrown
  EXPECT_NO_THROW(rig.display.Update_SensKnob());
}

// The darkest pixel column range of a surface region, as a way to find printed text.
std::pair<int, int> InkColumns(const Surface& s, int32_t background) {
  int first = -1, last = -1;
  for (int x = 0; x < s.WidthPx(); ++x)
    for (int y = 0; y < s.HeightPx() / 4; ++y)
      if (!Near(s.PixelColor(x, y), background, 40)) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

TEST(Readouts, BaseTextKeepsItsLeftEdgeAndSwapsSidesWithTheClock) {
  DisplayRig rig(1280);
  rig.settings.DialType = 7;  // no face: only the readouts
  rig.settings.ClockType = 0;
  rig.display.Draw_Panel();
  const int32_t panel = rig.settings.Panel_Color;
  rig.display.Update_BaseDisplay("2.0");
  const auto shortText = InkColumns(rig.panel(), panel);
  rig.display.Update_BaseDisplay("10.05");
  const auto longText = InkColumns(rig.panel(), panel);
  EXPECT_NEAR(shortText.first, longText.first, 3);
  EXPECT_GT(longText.second, shortText.second);
  EXPECT_LT(longText.second, 640);  // left half
  rig.settings.ClockLeft = true;
  rig.display.Draw_Panel();
  EXPECT_GT(InkColumns(rig.panel(), panel).first, 640);
}

TEST(Readouts, BdColourFollowsCountingState) {
  DisplayRig rig;
  rig.settings.Text_Color = 0x0000FF;
  Calc_DimTextColor(rig.ctx);
  auto inked = [&](int32_t color) {
    const Surface& bd = rig.display.picBD;
    for (int x = 0; x < bd.WidthPx(); ++x)
      for (int y = 0; y < bd.HeightPx(); ++y)
        if (bd.PixelColor(x, y) == color) return true;
    return false;
  };
  rig.display.Draw_Panel();
  rig.display.Update_BdDisplay("8.8");
  EXPECT_TRUE(inked(rig.state.DimTextColor));
  EXPECT_FALSE(inked(0x0000FF));
  // A short click switches counting on, and the digits take the text colour.
  rig.display.picBD_MouseDown(1, 0, 5, 5);
  rig.display.picBD_MouseUp(1, 0, 5, 5);
  EXPECT_TRUE(rig.state.BdCountEnabled);
  EXPECT_TRUE(inked(0x0000FF));
}

TEST(Readouts, LampSitsOverSetMarkOrOnHub) {
  DisplayRig rig(1200);
  rig.display.Draw_Panel();
  rig.display.Update_LED(0x00FF00);
  EXPECT_EQ(rig.At(-254.3, 1039.3), 0x00FF00);
  EXPECT_EQ(rig.state.LedColor, 0x00FF00);
  EXPECT_EQ(rig.panel().DrawWidth, 20);  // 1200 / 60
  rig.settings.DialType = 0;
  rig.display.Draw_Panel();
  rig.display.Update_LED(rig.settings.Dial_Color);  // off: paints the hub centre
  EXPECT_EQ(rig.At(0, 600), rig.settings.Dial_Color);
  EXPECT_EQ(rig.panel().DrawWidth, 24);  // 1200 / 50
}

}  // namespace
}  // namespace zk::test
