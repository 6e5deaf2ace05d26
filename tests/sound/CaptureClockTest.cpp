// The position of the present moment of a capture that hands its sound over in blocks, on
// virtual time: blocks of 150 ms and 20 ms, looked at every 20 ms (as the receive path
// does with each message) and at odd moments, late or early, and never going back.
#include "sound/CaptureClock.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Fakes.h"
#include "sound/ClockSound.h"
#include "sound/TrackDevice.h"

namespace zk {
namespace {

using test::Timeline;

constexpr int32_t Rate = 22050;

// A capture that began at `start` and delivers blocks of `blockMs`, each `delayMs` after its
// last frame was captured; looked at every `lookMs` from a phase that drifts against the
// blocks. With `pieceMs`, the server passes on only whole pieces of that size of what the
// card has delivered. Answers the worst error of the estimate against the true frame of
// the moment, in ms (positive: ahead of the sound), and checks that it never goes back.
struct Worst {
  double early = 0, late = 0;
};
Worst Follow(double blockMs, double delayMs, double lookMs, double seconds, double pieceMs = 0) {
  Timeline clock;
  const double start = clock.now;
  CaptureClock capture(clock);
  capture.Start(Rate, 0);
  const auto block = static_cast<int64_t>(std::llround(blockMs * Rate / 1000));
  Worst w;
  int64_t last = 0;
  for (double t = 0.0013; t < seconds; t += lookMs / 1000) {
    clock.AdvanceTo(start + t);
    // Blocks whose last frame plus the hand-over delay lies before now have arrived.
    const auto captured = static_cast<int64_t>(std::floor((t - delayMs / 1000) * Rate));
    int64_t delivered = captured < 0 ? 0 : captured / block * block;
    if (pieceMs > 0) {
      const auto piece = static_cast<int64_t>(std::llround(pieceMs * Rate / 1000));
      delivered = delivered / piece * piece;
    }
    const int64_t now = capture.Now(delivered);
    EXPECT_GE(now, last) << t;
    last = now;
    if (t < 1.0) continue;  // the first second finds the sound's time line
    const double error = (static_cast<double>(now) / Rate - t) * 1000;
    w.early = std::max(w.early, error);
    w.late = std::max(w.late, -error);
  }
  return w;
}

TEST(CaptureClock, FollowsTheSoundOfNowBetweenBlocksOf150And20Ms) {
  // Looked at every 19.7 ms: each block is seen up to 20 ms after it arrived.
  const Worst big = Follow(150, 0, 19.7, 30);
  EXPECT_LE(big.late, 6.0);   // the delivered count alone would be up to 150 ms behind
  EXPECT_LE(big.early, 1.0);  // and it never runs ahead of the sound that exists
  const Worst small = Follow(20, 0, 19.7, 30);
  EXPECT_LE(small.late, 6.0);
  EXPECT_LE(small.early, 1.0);
  // A server that hands each block over 5 ms after it is complete: "now" is that much
  // later than the delivered count shows, which no estimate from the deliveries can see.
  const Worst delayed = Follow(150, 5, 19.7, 30);
  EXPECT_LE(delayed.late, 11.0);
}

TEST(CaptureClock, FollowsACardsBlocksHandedOverInPiecesOfAnotherSize) {
  // A card's 42.7 ms blocks passed on in 20 ms pieces: 40 ms, then 40, then 60 ... arrive,
  // the rest waiting for the next block.
  const Worst uneven = Follow(42.7, 0, 19.7, 30, 20);
  EXPECT_LE(uneven.late, 10.0);
  EXPECT_LE(uneven.early, 1.0);
}

TEST(CaptureClock, NeverMoreThanOneBlockAheadOfTheDelivered) {
  Timeline clock;
  CaptureClock capture(clock);
  capture.Start(Rate, 0);
  const int64_t block = Rate * 150 / 1000;
  for (int k = 1; k <= 10; ++k) {  // regular blocks set the time line
    clock.Advance(0.15);
    capture.Now(k * block);
  }
  EXPECT_EQ(capture.Block(), block);
  clock.Advance(1.0);  // then nothing comes for a second
  EXPECT_EQ(capture.Now(10 * block), 11 * block);
  // The sound resumes with what went missing gone: the line starts again from there, and
  // the answer does not go back meanwhile.
  clock.Advance(0.15);
  EXPECT_EQ(capture.Now(11 * block), 11 * block);
  clock.Advance(0.075);
  EXPECT_NEAR(capture.Now(11 * block), 11 * block + block / 2, 2);
}

TEST(CaptureClock, AFirstBlockSeenLateIsForgottenOnceABlockIsSeenOnTime) {
  Timeline clock;
  CaptureClock capture(clock);
  capture.Start(Rate, 0);
  const int64_t block = Rate * 20 / 1000;
  clock.Advance(0.035);  // the first block (complete at 20 ms) seen 15 ms late
  EXPECT_EQ(capture.Now(block), block);
  clock.Advance(0.005);  // the second seen at once
  EXPECT_EQ(capture.Now(2 * block), 2 * block);
  clock.Advance(0.010);
  EXPECT_NEAR(capture.Now(2 * block), Rate * 50 / 1000, 1);
}

// The clock-driven device with an input that hands its silence over in blocks: its
// position while recording is the estimate, its length what was delivered.
TEST(CaptureClock, TheRecordingDevicesPositionIsTheSoundOfNow) {
  Timeline clock;
  const int64_t block = Rate * 150 / 1000;
  TrackDevice dev(clock, std::make_unique<ClockInput>(clock, block), std::make_unique<ClockOutput>(clock), {});
  dev.OpenNewRecording();
  dev.Record();
  int32_t position = 0, length = 0;
  for (int i = 1; i <= 100; ++i) {  // 2 s looked at every 20 ms
    clock.Advance(0.02);
    dev.Position(position);
  }
  clock.Advance(0.1);  // 2.1 s: 14 blocks delivered (2.1 s), then 0.07 s into the next
  clock.Advance(0.07);
  dev.Position(position);
  dev.Length(length);
  EXPECT_EQ(length, 14 * block * 2);
  EXPECT_NEAR(position, 2.17 * 44100, 88);  // within 2 ms
  dev.Stop();                               // stopped, the position is the sound held
  dev.Position(position);
  EXPECT_EQ(position, 14 * block * 2);
}

}  // namespace
}  // namespace zk
