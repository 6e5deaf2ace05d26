#include <gtest/gtest.h>

#include <stdexcept>

#include "Fakes.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"

namespace zk {
namespace {

TEST(SensitivityTable, EveryStepHasItsTextAndWholeNumber) {
  // Step: text and whole number, as the knob is printed and the needle scaled.
  struct Row {
    const char* text;
    int whole;
  };
  const Row rows[64] = {
      {"1.0", 1}, {"1.2", 1}, {"1.4", 1}, {"1.4", 1},  {"1.6", 2}, {"1.8", 2}, {"2.0", 2}, {"2.0", 2},
      {"2.5", 2}, {"2.5", 2}, {"2.5", 2}, {"3.0", 3},  {"3.0", 3}, {"3.5", 4}, {"3.5", 4}, {"3.5", 4},
      {"4.0", 4}, {"4.0", 4}, {"4.5", 4}, {"4.5", 4},  {"5.0", 5}, {"5.0", 5}, {"5.5", 6}, {"5.5", 6},
      {"6.0", 6}, {"6.0", 6}, {"6.5", 6}, {"6.5", 6},  {"7.0", 7}, {"7.5", 8}, {"7.5", 8}, {"8.0", 8},
      {"8.5", 8}, {"8.5", 8}, {"9.0", 9}, {"9.5", 10}, {"10", 10}, {"10", 10}, {"11", 11}, {"11", 11},
      {"12", 12}, {"12", 12}, {"13", 13}, {"13", 13},  {"14", 14}, {"15", 15}, {"15", 15}, {"16", 16},
      {"17", 17}, {"18", 18}, {"19", 19}, {"20", 20},  {"20", 20}, {"22", 22}, {"22", 22}, {"24", 24},
      {"26", 26}, {"28", 28}, {"28", 28}, {"30", 30},  {"33", 33}, {"35", 35}, {"37", 37}, {"40", 40},
  };
  SensitivityTable table;
  table.Init_SensTable();
  for (int s = 0; s < 64; ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(table.Text(s), rows[s].text);
    EXPECT_EQ(table.Multiplier(s), rows[s].whole);
  }
  // The chart uses the exact value: "4.5" is 4.5 there although the needle uses 4.
  EXPECT_DOUBLE_EQ(table.Gain(18), 4.5);
  EXPECT_DOUBLE_EQ(table.Gain(8), 2.5);
}

TEST(SensitivityTable, StepsOutsideTheKnob) {
  SensitivityTable table;
  EXPECT_EQ(table.Multiplier(8), 1);  // before Init_SensTable: never zero
  table.Init_SensTable();
  // A step from a hand-edited file is shown as the nearest end, never thrown at the knob.
  EXPECT_EQ(table.Text(64), "40");
  EXPECT_EQ(table.Text(999), "40");
  EXPECT_EQ(table.Text(-5), "1.0");
  EXPECT_EQ(table.Multiplier(200), 40);
  EXPECT_EQ(table.Multiplier(-5), 1);
  EXPECT_DOUBLE_EQ(table.Gain(64), 40.0);
}

TEST(SensitivityTable, GoUpAndDownStopAtTheEnds) {
  test::TestContext t;
  t.settings.SensitivityIndex = 62;
  Go_Up(t.ctx);
  EXPECT_EQ(t.settings.SensitivityIndex, 63);
  Go_Up(t.ctx);
  EXPECT_EQ(t.settings.SensitivityIndex, 63);
  t.settings.SensitivityIndex = 1;
  Go_Down(t.ctx);
  EXPECT_EQ(t.settings.SensitivityIndex, 0);
  Go_Down(t.ctx);
  EXPECT_EQ(t.settings.SensitivityIndex, 0);
  EXPECT_EQ(t.view.knob, 4);  // the knob is redrawn each time, also at the ends
  // A bad stored step is pulled back into range by the first press.
  t.settings.SensitivityIndex = 90;
  Go_Up(t.ctx);
  EXPECT_EQ(t.settings.SensitivityIndex, 63);
  t.settings.SensitivityIndex = -4;
  Go_Down(t.ctx);
  EXPECT_EQ(t.settings.SensitivityIndex, 0);
}

TEST(MeterEngineAngles, CAngFoldsOnce) {
  EXPECT_FLOAT_EQ(MeterEngine::CAng(0.0f), 0.00001f);
  EXPECT_FLOAT_EQ(MeterEngine::CAng(3.0f), 3.0f);
  EXPECT_FLOAT_EQ(MeterEngine::CAng(6.28318f), 6.28318f);
  EXPECT_FLOAT_EQ(MeterEngine::CAng(7.0f), 7.0f - 6.28318f);
  EXPECT_FLOAT_EQ(MeterEngine::CAng(-1.0f), -1.0f + 6.28318f);
  EXPECT_FLOAT_EQ(MeterEngine::CAng(-7.0f), -7.0f + 6.28318f);  // only once: stays negative
}

}  // namespace
}  // namespace zk
