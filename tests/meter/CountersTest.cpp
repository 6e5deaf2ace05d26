// The BD counter's press and hold, and the tag counter.
#include "MeterFixture.h"

namespace zk::test {
namespace {

using CountersTest = MeterTest;

TEST_F(CountersTest, ShortClickTogglesCounting) {
  counters.picBD_MouseDown();
  t.clock.Advance(1.4);
  counters.picBD_MouseUp();
  EXPECT_TRUE(t.state.BdCountEnabled);
  EXPECT_EQ(t.view.bd, 1);
  EXPECT_FALSE(t.tmrBdMouseDown.Enabled());
  counters.picBD_MouseDown();
  counters.picBD_MouseUp();
  EXPECT_FALSE(t.state.BdCountEnabled);
}

TEST_F(CountersTest, LongPressResetsAndLeavesCountingAsItWas) {
  t.state.BdTotal = 400;
  t.state.BdText = "10.0";
  counters.picBD_MouseDown();
  t.clock.Advance(1.6);
  EXPECT_EQ(t.state.BdTotal, 0);
  EXPECT_EQ(t.view.lastBd, "0.0");
  EXPECT_FALSE(t.tmrBdMouseDown.Enabled());
  counters.picBD_MouseUp();
  EXPECT_FALSE(t.state.BdCountEnabled);
  // The next short click toggles again.
  counters.picBD_MouseDown();
  counters.picBD_MouseUp();
  EXPECT_TRUE(t.state.BdCountEnabled);
}

TEST_F(CountersTest, PressesIgnoredDuringPlaybackUnlessOverride) {
  t.state.OperatingMode = ModePlayback;
  counters.picBD_MouseDown();
  EXPECT_FALSE(t.tmrBdMouseDown.Enabled());
  counters.picBD_MouseUp();
  EXPECT_FALSE(t.state.BdCountEnabled);
  t.state.PlaybackOverride = true;
  counters.picBD_MouseDown();
  counters.picBD_MouseUp();
  EXPECT_TRUE(t.state.BdCountEnabled);
}

TEST_F(CountersTest, KeysAndTags) {
  t.state.BdTotal = 44;
  t.state.BdText = "1.1";
  counters.Toggle_BdCount();
  EXPECT_TRUE(t.state.BdCountEnabled);
  EXPECT_EQ(t.view.lastBd, "1.1");
  counters.Reset_Bd();
  EXPECT_EQ(t.state.BdTotal, 0);
  EXPECT_EQ(t.state.BdText, "0.0");
  EXPECT_TRUE(t.state.BdCountEnabled);

  t.state.TagCount = 9;
  counters.Count_Tag();
  EXPECT_EQ(t.state.TagCount, 10);
  EXPECT_TRUE(t.state.TagChanged);
  EXPECT_EQ(t.controls.Caption("lblTag"), "10");
}

}  // namespace
}  // namespace zk::test
