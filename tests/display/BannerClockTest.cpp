// The mode banner and its short messages, and the analogue and digital clocks.
#include <gtest/gtest.h>

#include <cmath>

#include "DisplayRig.h"
#include "core/Banner.h"
#include "display/ClockDisplay.h"

namespace zk::test {
namespace {

// Pixels in a box of panel units that differ from the panel colour.
int Ink(DisplayRig& rig, double x0, double y0, double x1, double y1) {
  Surface& s = rig.panel();
  int n = 0;
  for (int px = static_cast<int>(s.PxX(x0)); px < static_cast<int>(s.PxX(x1)); ++px)
    for (int py = static_cast<int>(s.PxY(y0)); py < static_cast<int>(s.PxY(y1)); ++py)
      n += s.PixelColor(px, py) != rig.settings.Panel_Color;
  return n;
}

TEST(Banner, RedrawnOnlyOnAChangeAndHeldDuringAMessage) {
  DisplayRig rig;
  rig.settings.DialType = 1;
  rig.display.Draw_Panel();
  Surface& panel = rig.panel();
  Show_Status(rig.ctx, "Input OK");
  EXPECT_FALSE(panel.TakeDirty().isEmpty());
  Show_Status(rig.ctx, "Input OK");
  EXPECT_TRUE(panel.TakeDirty().isEmpty());

  Show_Message(rig.ctx, "Freeze ON");
  EXPECT_FALSE(panel.TakeDirty().isEmpty());
  Show_Status(rig.ctx, "Input Error");  // wanted, but not drawn while the message shows
  EXPECT_TRUE(panel.TakeDirty().isEmpty());
  rig.clock.Advance(1.0);
  EXPECT_FALSE(rig.tmrMessage.Enabled());
  EXPECT_EQ(rig.state.StatusText, "Input Error");
  EXPECT_FALSE(panel.TakeDirty().isEmpty());
  bool red = false;
  for (int x = 0; x < panel.WidthPx(); ++x)
    for (int y = static_cast<int>(panel.PxY(250)); y < static_cast<int>(panel.PxY(200)); ++y)
      red |= panel.PixelColor(x, y) == 255;
  EXPECT_TRUE(red);
}

TEST(Banner, ATransportWordLeavesTheBannerAbleToWipeItsOldText) {
  DisplayRig rig;
  rig.settings.DialType = 1;
  rig.display.Draw_Panel();
  rig.state.StatusText = "Playback";
  rig.display.Update_ModeDisplay();
  rig.display.Show_TransportWord("END");
  rig.state.StatusText = "";
  rig.display.Update_ModeDisplay();
  // Only the blanks are left where "Playback" stood.
  const double bottom = rig.panel().ScaleTop() + rig.panel().ScaleHeight();
  EXPECT_EQ(Ink(rig, -300, bottom + 300, 300, bottom + 230), 0);
}

TEST(Banner, AudioOffLineWhileRecordingWithoutSound) {
  DisplayRig rig(1000);
  rig.settings.DialType = 0;  // circular: the banner sits at x = -800
  rig.display.Draw_Panel();
  rig.state.StatusText = "Recording";
  rig.state.OperatingMode = ModeRecording;
  rig.settings.AudioEnable = false;
  rig.display.Update_ModeDisplay();
  const int line2 = Ink(rig, -950, 525, -650, 485);
  EXPECT_GT(line2, 0);
  // Playing with sound leaves the second line as it was.
  rig.state.OperatingMode = ModePlayback;
  rig.settings.AudioEnable = true;
  rig.display.Update_ModeDisplay();
  EXPECT_EQ(Ink(rig, -950, 525, -650, 485), line2);
  // Any other mode wipes it.
  rig.state.OperatingMode = ModeLive;
  rig.display.Update_ModeDisplay();
  EXPECT_EQ(Ink(rig, -950, 525, -650, 485), 0);
}

TEST(Clock, AnalogHandsAtHalfPastThree) {
  DisplayRig rig(1280);
  rig.settings.ClockType = 1;
  rig.display.Draw_Panel();
  int16_t h = 3, m = 30, s = 0;
  rig.display.Update_Clock(h, m, s, 36525);
  const double cx = 825, cy = 1025, deg = 3.14159265 / 180;
  auto at = [&](double angleDeg, double r) {
    return rig.At(cx + std::cos(angleDeg * deg) * r, cy + std::sin(angleDeg * deg) * r);
  };
  const int32_t text = rig.settings.Text_Color, panel = rig.settings.Panel_Color;
  EXPECT_EQ(at(-15, 60), text);  // hour hand 15 degrees past 3 o'clock
  EXPECT_EQ(at(0, 60), panel);
  EXPECT_EQ(at(-90, 100), text);  // minute hand straight down
  EXPECT_EQ(at(90, 100), panel);
  // The left-hand clock is the mirror position.
  rig.settings.ClockLeft = true;
  rig.display.Update_Clock(h, m, s, 36525);
  EXPECT_EQ(rig.At(-825 + 100 * std::cos(-90 * deg), 1025 - 100), text);
}

TEST(Clock, TwelveHourClockRewritesTheHour) {
  DisplayRig rig;
  rig.display.Draw_Panel();
  rig.settings.ClockType = 2;
  for (auto [in, out] : {std::pair{0, 12}, std::pair{13, 1}, std::pair{12, 12}, std::pair{24, 12}}) {
    int16_t h = static_cast<int16_t>(in), m = 5, s = 0;
    rig.display.Update_Clock(h, m, s, 36525);
    EXPECT_EQ(h, out) << in;
  }
  rig.settings.ClockType = 3;
  int16_t h = 24, m = 0, s = 0;
  rig.display.Update_Clock(h, m, s, 36525);
  EXPECT_EQ(h, 24);
}

TEST(Clock, DateLineOnlyForARealDate) {
  auto face = [](int32_t dateType, int32_t serial) {
    DisplayRig rig;
    rig.settings.ClockType = 0;
    rig.settings.DateType = dateType;
    rig.display.Draw_Panel();
    rig.settings.ClockType = 3;
    int16_t h = 9, m = 5, s = 0;
    rig.display.Update_Clock(h, m, s, serial);
    return rig.panel().Image();
  };
  const QImage none = face(0, 46000);
  EXPECT_TRUE(face(1, 36525) == none);
  EXPECT_FALSE(face(1, 46000) == none);
  EXPECT_FALSE(face(2, 46000) == face(1, 46000));
  EXPECT_NE(ClockDisplay::Date_Text(46000, true), ClockDisplay::Date_Text(46000, false));
}

TEST(Clock, PlaybackClockRunsPastMidnightAndNeedsAStartTime) {
  DisplayRig played, direct;
  for (DisplayRig* r : {&played, &direct}) {
    r->settings.ClockType = 3;
    r->settings.DialType = 7;  // no face: only the clock in that corner
    r->state.OperatingMode = ModePlayback;
  }
  played.state.RecordStartSeconds = 23 * 3600 + 59 * 60 + 30;
  played.state.AudioPosition = 45000;
  played.state.PlayUnitsPerSecond = 1000;
  played.display.Draw_Panel();
  EXPECT_EQ(played.state.ElapsedSecs, 45);
  direct.display.Draw_Panel();  // no start time: no clock
  EXPECT_EQ(Ink(direct, 500, 1180, 1000, 850), 0);
  int16_t h = 24, m = 0, s = 0;
  direct.display.Update_Clock(h, m, s, direct.state.RecordDate);
  EXPECT_GT(Ink(direct, 500, 1180, 1000, 850), 0);
  EXPECT_TRUE(played.panel().Image() == direct.panel().Image());  // "24:00"
  // Without a time base the clock shows the start time instead of faulting.
  played.state.PlayUnitsPerSecond = 0;
  EXPECT_NO_THROW(played.display.Draw_Panel());
  EXPECT_EQ(played.state.ElapsedSecs, 0);
}

}  // namespace
}  // namespace zk::test
