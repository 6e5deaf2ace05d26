// What repeated drawing must not leave behind: lamp rings, a worn hub ring, darkening clock
// dots, and a base readout wipe that bites into the face. Each case compares pixels with a
// panel drawn once.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include <random>

#include "DisplayRig.h"

namespace zk::test {
namespace {

// Each case at one and at two image pixels per widget pixel.
class CleanDrawing : public ::testing::TestWithParam<double> {};
INSTANTIATE_TEST_SUITE_P(Ratio, CleanDrawing, ::testing::Values(1.0, 2.0),
                         [](const auto& info) { return info.param == 1.0 ? std::string("x1") : std::string("x2"); });

void LampCycle(DisplayRig& rig, int i) {
  const Settings& s = rig.settings;
  const int32_t lit[] = {s.LED_Set_Color, s.LED_BM_Color, s.LED_Lag_Color};
  rig.display.Update_LED(lit[i % 3]);
  rig.display.Update_LED(s.Dial_Color);
}

// The first panel of a rig, painted twice: the first text a process draws may differ in a
// pixel's shade from later draws of the same text.
void Start(DisplayRig& rig, int32_t needle) {
  rig.Needle(needle);
  rig.state.ResetPending = true;
  rig.Needle(needle);
}

// The panel after moves and lamps, against a full repaint of the same rig with the same
// needle.
int ChangedFromRepaint(DisplayRig& rig, int32_t needle) {
  rig.Needle(needle);
  const QImage after = rig.panel().Image().copy();
  rig.state.ResetPending = true;
  rig.Needle(needle);
  return Changed(after, rig.panel().Image());
}

TEST_P(CleanDrawing, LampGoesOutWithoutARing) {
  for (int32_t type : {0, 1}) {
    DisplayRig rig(1280, GetParam());
    rig.settings.DialType = type;
    Start(rig, 8000);
    for (int i = 0; i < 100; ++i) LampCycle(rig, i);
    EXPECT_EQ(ChangedFromRepaint(rig, 8000), 0) << "dial type " << type;
  }
}

TEST_P(CleanDrawing, WideNeedleLeavesTheHubRingWhole) {
  for (int32_t type : {0, 3}) {
    DisplayRig rig(500, GetParam());
    rig.settings.DialType = type;
    rig.settings.Needle_Width = 8;
    Start(rig, 0);
    for (int32_t p = -32000; p <= 32000; p += 997) rig.Needle(p);
    EXPECT_EQ(ChangedFromRepaint(rig, 8000), 0) << "dial type " << type;
  }
}

// A thousand random needle moves with a lamp cycle after every tenth leave the panel as a
// single draw of the last needle leaves it, on every dial and needle width.
TEST_P(CleanDrawing, ThousandMovesAndHundredLampCyclesChangeNothingButTheNeedle) {
  for (int32_t type : {0, 1, 2, 3}) {
    for (int16_t width : {1, 4, 8}) {
      DisplayRig rig(640, GetParam());
      rig.settings.DialType = type;
      rig.settings.Needle_Width = width;
      Start(rig, 0);
      const int32_t range = type == 0 || type == 3 ? 32767 : 10500;
      std::mt19937 gen(99 + type * 10 + width);
      std::uniform_int_distribution<int32_t> value(-range, range);
      for (int i = 0; i < 1000; ++i) {
        rig.Needle(value(gen));
        if (i % 10 == 9) LampCycle(rig, i / 10);
      }
      EXPECT_EQ(ChangedFromRepaint(rig, -1234), 0) << "dial type " << type << ", width " << width;
    }
  }
}

// Small panels, where a wide needle's round tip reaches the inner scale arc of the
// traditional dials and the hub ring of the circular ones.
TEST_P(CleanDrawing, WideNeedlesOnSmallPanelsLeaveTheScaleWhole) {
  for (int size : {333, 550}) {
    for (int32_t type : {0, 1, 2, 3}) {
      for (int16_t width : {4, 8}) {
        for (int32_t scale : {0, 1}) {
          DisplayRig rig(size, GetParam());
          rig.settings.DialType = type;
          rig.settings.ScaleType = scale;
          rig.settings.Needle_Width = width;
          Start(rig, 0);
          const int32_t range = type == 0 || type == 3 ? 32767 : 10500;
          std::mt19937 gen(size + type * 10 + width + scale);
          std::uniform_int_distribution<int32_t> value(-range, range);
          for (int i = 0; i < 300; ++i) {
            rig.Needle(value(gen));
            if (i % 10 == 9) LampCycle(rig, i / 10);
          }
          EXPECT_EQ(ChangedFromRepaint(rig, -1234), 0)
              << size << " px, dial type " << type << ", width " << width << ", scale " << scale;
        }
      }
    }
  }
}

// A needle driven past the scale ends crosses the face's straight edges: the erase there
// gives the edge back, while on plain dial it is a fill in the dial colour.
TEST_P(CleanDrawing, NeedlePastTheFaceEdgesLeavesThemWhole) {
  for (int size : {640, 1280}) {
    for (int32_t type : {1, 2}) {
      DisplayRig rig(size, GetParam());
      rig.settings.DialType = type;
      rig.settings.Needle_Width = 8;
      Start(rig, 0);
      for (int32_t p = -14000; p <= 14000; p += 211) rig.Needle(p);
      EXPECT_EQ(ChangedFromRepaint(rig, 0), 0) << size << " px, dial type " << type;
    }
  }
}

// A pause prints its word over the needle; the resume wipes both, and the face is the
// face of a full repaint again.
TEST_P(CleanDrawing, PauseAndResumeLeaveNoTrace) {
  for (int size : {333, 550, 800}) {
    for (int32_t type : {0, 1, 2, 3}) {
      for (int16_t width : {1, 4, 8}) {
        DisplayRig rig(size, GetParam());
        rig.settings.DialType = type;
        rig.settings.Needle_Width = width;
        Start(rig, 0);
        rig.Needle(3000);
        for (int round = 0; round < 3; ++round) {
          rig.display.Show_TransportWord("PAUSE");
          rig.display.Remove_Needle();
          rig.Needle(-2503 + round * 700);
        }
        EXPECT_EQ(ChangedFromRepaint(rig, 1500), 0) << size << " px, dial type " << type << ", width " << width;
      }
    }
  }
}

// The lamp over the SET mark covers the end of the SET tick; going out gives it back.
TEST_P(CleanDrawing, TheLampGoingOutLeavesTheSetTickWhole) {
  for (int size : {333, 550, 1280}) {
    for (int32_t type : {1, 2}) {
      for (int32_t scale : {0, 1}) {
        DisplayRig rig(size, GetParam());
        rig.settings.DialType = type;
        rig.settings.ScaleType = scale;
        Start(rig, 8000);
        for (int i = 0; i < 30; ++i) LampCycle(rig, i);
        EXPECT_EQ(ChangedFromRepaint(rig, 8000), 0) << size << " px, dial type " << type << ", scale " << scale;
      }
    }
  }
}

// A lamp lit when the panel is repainted (the first record of a playback carries a lamp,
// then the reset repaints) is drawn again in its colour; an unlit one stays off.
TEST_P(CleanDrawing, AFullRepaintRedrawsALitLamp) {
  for (int32_t type : {0, 1}) {
    DisplayRig rig(640, GetParam());
    rig.settings.DialType = type;
    Start(rig, 8000);
    const double y = type == 0 ? 600 : std::cos(0.239972) * 1070;
    const double x = type == 0 ? 0 : -std::sin(0.239972) * 1070;
    const Settings& s = rig.settings;
    for (int32_t lamp : {s.LED_Set_Color, s.LED_BM_Color, s.LED_Lag_Color}) {
      rig.display.Update_LED(lamp);
      rig.state.ResetPending = true;
      rig.Needle(8000);
      EXPECT_EQ(rig.At(x, y), lamp) << "dial type " << type;
    }
    rig.display.Update_LED(s.Dial_Color);
    EXPECT_EQ(ChangedFromRepaint(rig, 8000), 0) << "dial type " << type;
  }
}

TEST_P(CleanDrawing, AnalogueClockDotsKeepTheirShadeEachMinute) {
  for (int32_t type : {0, 1}) {
    DisplayRig rig(1280, GetParam());
    rig.settings.DialType = type;
    rig.settings.ClockType = 1;
    rig.display.Draw_Panel();
    int16_t h = 10, m = 0, s = 0;
    rig.display.Update_Clock(h, m, s, 36525);
    const QImage first = rig.panel().Image().copy();
    for (int minute = 1; minute <= 60; ++minute) {
      int16_t hh = 10, mm = static_cast<int16_t>(minute % 60), ss = 0;
      rig.display.Update_Clock(hh, mm, ss, 36525);
    }
    EXPECT_TRUE(rig.panel().Image() == first) << "dial type " << type;
  }
}

// The texts of a full repaint (base readout, banner, clock) stay beside the face: every
// pixel of the face alone is still there.
TEST_P(CleanDrawing, BaseReadoutWipeStaysOffTheFace) {
  for (bool clockLeft : {false, true}) {
    DisplayRig full(1280, GetParam()), face(1280, GetParam());
    for (DisplayRig* r : {&full, &face}) {
      r->settings.ClockLeft = clockLeft;
      r->settings.ClockType = 3;
      r->state.BaseText = "2.50";
    }
    full.display.Draw_Panel();
    full.display.Update_BaseDisplay("3.00");
    face.panel().SetBackColor(face.settings.Panel_Color);
    face.display.dial.Draw_Face();
    const int32_t panel = face.settings.Panel_Color;
    int bitten = 0;
    for (int y = 0; y < face.panel().HeightPx(); ++y)
      for (int x = 0; x < face.panel().WidthPx(); ++x) {
        const int32_t c = face.panel().PixelColor(x, y);
        if (c != panel && full.panel().PixelColor(x, y) != c) ++bitten;
      }
    EXPECT_EQ(bitten, 0) << (clockLeft ? "clock left" : "clock right");
  }
  // The layout's font name maps to a font of the metrics it was measured in, when that
  // font is installed.
  if (QFontDatabase::families().contains("Liberation Sans")) {
    EXPECT_EQ(QFontInfo(QFont("Aerial")).family(), "Liberation Sans");
  }
}

}  // namespace
}  // namespace zk::test
