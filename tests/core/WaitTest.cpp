// The one wait on the Events seam and the stall detection it takes: a wait ends when its
// condition holds, when its time is up, or when what it waits on has stopped moving.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "core/SoundQueries.h"
#include "core/Wait.h"

namespace zk::test {
namespace {

TEST(WaitUntil, EndsWhenDoneOrWhenTheTimeIsUp) {
  TestContext t;
  int rounds = 0;
  EXPECT_TRUE(Wait_Until(t.events, t.clock, 1.0, [&] { return ++rounds == 3; }));
  EXPECT_EQ(t.events.calls, 2);  // the condition is asked before each round of events
  const double t0 = t.clock.now;
  EXPECT_FALSE(Wait_Until(t.events, t.clock, 0.5, [] { return false; }));
  EXPECT_NEAR(t.clock.now - t0, 0.5, 0.01);
}

// A wait that knows when it is due sleeps to that moment in one round (never past the time
// limit, never longer than MaxSleep), and an event that comes first ends the sleep early.
TEST(WaitUntil, SleepsUntilDueInsteadOfPolling) {
  TestContext t;
  const double t0 = t.clock.now;
  const double due = t0 + 0.35;
  EXPECT_TRUE(Wait_Until(
      t.events, t.clock, 1.0, [&] { return t.clock.now >= due - 1e-9; }, {}, [&] { return due - t.clock.now; }));
  EXPECT_NEAR(t.clock.now, due, 1e-6);
  EXPECT_EQ(t.events.calls, 4);  // 0.1 + 0.1 + 0.1 + 0.05

  const double t1 = t.clock.now;
  EXPECT_FALSE(Wait_Until(
      t.events, t.clock, 0.25, [] { return false; }, {}, [] { return 10.0; }));
  EXPECT_NEAR(t.clock.now - t1, 0.25, 1e-6);  // the limit cuts the last sleep short

  bool stop = false;
  const double t2 = t.clock.now;
  t.events.At(t2 + 0.03, [&] { stop = true; });
  EXPECT_TRUE(Wait_Until(
      t.events, t.clock, 1.0, [&] { return stop; }, {}, [] { return 1.0; }));
  EXPECT_NEAR(t.clock.now - t2, 0.03, 1e-6);
}

TEST(WaitUntil, GivesUpWhenStalled) {
  TestContext t;
  const double t0 = t.clock.now;
  Stillness still(t.clock, 0.2, 7);
  EXPECT_FALSE(Wait_Until(
      t.events, t.clock, 5.0, [] { return false; }, [&] { return still.Still(7); }));
  EXPECT_NEAR(t.clock.now - t0, 0.2, 0.01);
}

TEST(Stillness, CountsFromTheLastChangeAndStartsAgainAfterAReset) {
  TestContext t;
  Stillness still(t.clock, 1.0);
  EXPECT_FALSE(still.Still(5));  // nothing seen before: the count starts here
  t.clock.Advance(0.6);
  EXPECT_FALSE(still.Still(6));  // moved
  t.clock.Advance(0.6);
  EXPECT_FALSE(still.Still(6));
  t.clock.Advance(0.5);
  EXPECT_TRUE(still.Still(6));
  still.Reset();
  EXPECT_FALSE(still.Still(6));
}

TEST(WatchdogHeld, DisarmsTheInputWatchdogBeforeEachRound) {
  TestContext t;
  t.state.InputWatchdogArmed = true;
  WatchdogHeld events(t.events, t.state);
  events.DoEvents();
  EXPECT_FALSE(t.state.InputWatchdogArmed);
  EXPECT_EQ(t.events.calls, 1);
}

TEST(SoundQueries, KeepTheLastValueWhenTheDeviceCannotTell) {
  TestContext t;
  t.audio.position = 300;
  t.audio.length = 900;
  EXPECT_EQ(Query_Position(t.audio, t.state), 0);
  EXPECT_EQ(Query_Length(t.audio, t.state), 0);
  EXPECT_EQ(Sound_Position(t.audio), 300);
  EXPECT_EQ(t.state.AudioPosition, 300);
  EXPECT_EQ(t.state.AudioLength, 900);
  t.audio.result = 263;
  t.audio.position = 400;
  t.audio.length = 1000;
  EXPECT_EQ(Query_Position(t.audio, t.state), 263);
  EXPECT_EQ(Query_Length(t.audio, t.state), 263);
  EXPECT_EQ(Sound_Position(t.audio), std::nullopt);
  EXPECT_EQ(t.state.AudioPosition, 300);
  EXPECT_EQ(t.state.AudioLength, 900);
}

}  // namespace
}  // namespace zk::test
