// The date line above the digital clock stays inside the panel at every size: shrunk,
// then shortened, but never cut at the edge.
#include <gtest/gtest.h>

#include "DisplayRig.h"
#include "base/Clock.h"
#include "display/DateLine.h"

namespace zk::test {
namespace {

// The longest English weekday and month names, a two-digit day.
int32_t LongestDate() { return DateSerial(2027, 9, 29); }  // Wednesday, 29 September 2027

struct InkColumns {
  int first = -1, last = -1;
};

// The image columns holding ink above the time's top (the date line's rows) on the
// clock's half of the panel (the base readout holds the other).
InkColumns DateInk(DisplayRig& rig, bool left) {
  const QImage& im = rig.panel().Image();
  const QRgb panel = Surface::ToQColor(rig.settings.Panel_Color).rgb();
  InkColumns ink;
  const int bottom = static_cast<int>(rig.panel().DevicePoint(0, 1085).y());
  const int middle = im.width() / 2;
  for (int px = left ? 0 : middle; px < (left ? middle : im.width()); ++px)
    for (int py = 0; py < bottom; ++py)
      if (im.pixel(px, py) != panel) {
        if (ink.first < 0) ink.first = px;
        ink.last = px;
        break;
      }
  return ink;
}

void DrawDate(DisplayRig& rig, int32_t serial, int32_t dateType = 2) {
  rig.settings.DialType = 7;  // no face: only the clock in its corner
  rig.settings.ClockType = 0;
  rig.settings.DateType = dateType;
  rig.display.Draw_Panel();
  rig.settings.ClockType = 3;
  int16_t h = 23, m = 58, s = 0;
  rig.display.Update_Clock(h, m, s, serial);
}

TEST(DateLine, TheLongDateStaysWholeInsideThePanelAtEverySize) {
  for (double ratio : {1.0, 2.0}) {
    for (int width : {333, 550, 800, 1600}) {
      for (bool left : {false, true}) {
        DisplayRig rig(width, ratio);
        rig.settings.ClockLeft = left;
        DrawDate(rig, LongestDate());
        const InkColumns ink = DateInk(rig, left);
        const std::string where = std::to_string(width) + " px x" + std::to_string(ratio) + (left ? " left" : "");
        ASSERT_GE(ink.first, 0) << where;
        // Nothing reaches the edge, and the text is centred where the time is: a text cut
        // at the edge would lean towards the middle of the panel.
        EXPECT_GT(ink.first, 0) << where;
        EXPECT_LT(ink.last, rig.panel().Image().width() - 1) << where;
        const double centre = rig.panel().DevicePoint(left ? -800 : 800, 0).x();
        EXPECT_NEAR((ink.first + ink.last + 1) / 2.0, centre, 2.0 * ratio) << where;
      }
    }
  }
}

TEST(DateLine, TheFullFormStaysWhenItFitsAndShorterFormsOnlyWhenNeeded) {
  const std::vector<std::string> forms = DateLine::Forms(LongestDate(), true);
  ASSERT_EQ(forms.size(), 3u);
  EXPECT_GT(forms[0].size(), forms[1].size());
  EXPECT_GT(forms[1].size(), forms[2].size());
  EXPECT_EQ(forms[2], DateLine::Forms(LongestDate(), false).front());

  Surface s(2000, 100);
  s.Scale(-1000, 1200, 2000, -1250);
  s.SetFontName("Aerial");
  s.SetFontSize(12);
  const double full = s.TextWidth(forms[0]);
  // Room enough: the size asked for and the full text.
  DateLine::Fit fit = DateLine::Choose(s, forms, 12, full + 1);
  EXPECT_EQ(fit.text, forms[0]);
  EXPECT_EQ(fit.points, 12);
  // A little less: the full text, smaller.
  fit = DateLine::Choose(s, forms, 12, full * 0.8);
  EXPECT_EQ(fit.text, forms[0]);
  EXPECT_LT(fit.points, 12);
  EXPECT_GE(fit.points, DateLine::FloorPoints);
  EXPECT_LE(s.TextWidth(fit.text), full * 0.8);
  // Too little for the full text at the floor: a shorter one, never below the floor.
  s.SetFontSize(DateLine::FloorPoints);
  const double fullAtFloor = s.TextWidth(forms[0]);
  fit = DateLine::Choose(s, forms, 12, fullAtFloor - 1);
  EXPECT_NE(fit.text, forms[0]);
  EXPECT_GE(fit.points, DateLine::FloorPoints);
  // Room for nothing at the floor: the shortest form, as large as fits.
  fit = DateLine::Choose(s, forms, 12, 10);
  EXPECT_EQ(fit.text, forms.back());
  EXPECT_LE(s.TextWidth(fit.text), 10);
}

TEST(DateLine, AShorterDateLeavesNothingOfTheOneBefore) {
  DisplayRig changed(550), fresh(550);
  DrawDate(changed, LongestDate());
  int16_t h = 0, m = 1, s = 0;
  changed.display.Update_Clock(h, m, s, DateSerial(2027, 10, 1));  // Friday, 1 October
  DrawDate(fresh, DateSerial(2027, 10, 1));
  h = 0, m = 1, s = 0;
  fresh.display.Update_Clock(h, m, s, DateSerial(2027, 10, 1));
  EXPECT_TRUE(changed.panel().Image() == fresh.panel().Image());
}

}  // namespace
}  // namespace zk::test
