// The time base of one recording does not carry over into the next.
#include "recording/RecordClock.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

TEST(RecordClock, EachRecordingTakesItsOwnOffsetFromItsSound) {
  RecordClock clock;
  clock.Start();
  EXPECT_EQ(clock.Stamp(1, 20.0), 20);
  EXPECT_EQ(clock.Stamp(2, 40.0), 40);
  // The next recording's first message is read 300 ms into its sound, and the one after
  // that a recording whose first is read at once: each lies with its own sound.
  clock.Start();
  EXPECT_EQ(clock.Stamp(1, 300.0), 300);
  EXPECT_EQ(clock.Stamp(2, 320.0), 320);
  clock.Start();
  EXPECT_EQ(clock.Stamp(1, 20.0), 20);
}

}  // namespace
}  // namespace zk
