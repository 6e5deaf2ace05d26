// The edges of the reading step: the smoothing window at exactly the steady band, and the
// end of body motion on the traditional dial when no SET is waiting.
#include "MeterFixture.h"

namespace zk::test {
namespace {

using MeterEngineBoundary = MeterTest;

// A change over the 16 readings above 100 shrinks the window, one below 100 grows it, and
// exactly 100 leaves it as it is, whichever way the reading went.
TEST_F(MeterEngineBoundary, SmoothingWindowHoldsAtExactlyTheSteadyBand) {
  const struct { int32_t change, length; } cases[] = {{99, 6}, {100, 5}, {-100, 5}, {101, 4}, {-101, 4}};
  for (const auto& c : cases) {
    t.state.FilterHistory.fill(30000);
    t.state.FilterLength = 5;
    t.state.ResetPending = false;
    t.state.RawReading = 30000 + c.change;
    engine.Filter();
    EXPECT_EQ(t.state.FilterLength, c.length) << c.change;
  }
}

// The end of body motion re-reads the base as a SET would, but only a SET the user asked
// for moves the needle to the mark: without one the needle goes on from where the freeze
// held it, and no SET is left waiting.
TEST_F(MeterEngineBoundary, TheEndOfBodyMotionSetsNoNeedleOfItsOwn) {
  t.settings.DialType = DialTraditional;
  t.settings.FreezeEnable = true;
  alerts.mnuSettingsBodyMotionThreshold_Click(3);
  t.state.ResetPending = true;
  Feed(30000);
  const int32_t moved = Feed(29900);
  ASSERT_NE(moved, Needle::SetMark);
  Feed(30500);  // a sharp bend: frozen
  ASSERT_TRUE(t.state.NeedleFrozen);
  EXPECT_EQ(Feed(30500), moved);
  t.clock.Advance(0.6);
  const int32_t after = Feed(30500);
  EXPECT_FALSE(t.state.NeedleFrozen);
  EXPECT_NE(after, Needle::SetMark);
  EXPECT_FALSE(t.state.NeedleSetRequest);
  EXPECT_EQ(t.state.LedColor, t.settings.Dial_Color);
  // The next reading follows on from there too.
  EXPECT_NE(Feed(30500), Needle::SetMark);
  EXPECT_EQ(t.state.LedColor, t.settings.Dial_Color);
}

}  // namespace
}  // namespace zk::test
