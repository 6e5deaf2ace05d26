#include "SampleSound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace zk::sample {
namespace {

SessionScript Script(const std::string& text) {
  const ScriptResult r = ParseScript(text);
  EXPECT_TRUE(r.ok()) << r.error;
  return r.script;
}

int Peak(const PcmSamples& s, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(int{s[i]}));
  return peak;
}

TEST(SampleSoundTest, ASoundAsLongAsTheSessionSilentUntilTheScriptSaysOtherwise) {
  const PcmSamples s = RoomSound(Script("2 end\n"));
  EXPECT_EQ(s.size(), 2u * 22050);
  EXPECT_EQ(Peak(s, 0, s.size()), 0);
}

TEST(SampleSoundTest, ATonePlaysAtItsLevelFadingInAndOutWithoutAClick) {
  const PcmSamples s = RoomSound(Script("1 tone 441 1000\n2 quiet\n3 end\n"));
  const std::size_t second = 22050;
  EXPECT_EQ(Peak(s, 0, second), 0);
  // The first samples of the tone are a fraction of its level, the middle has it all.
  EXPECT_LT(Peak(s, second, second + 20), 50);
  EXPECT_NEAR(Peak(s, second + 5000, second + 10000), 1000, 2);
  EXPECT_LT(Peak(s, 2 * second + 1500, 3 * second), 1);
}

TEST(SampleSoundTest, NoiseStaysQuietAndIsTheSameEveryTime) {
  const SessionScript script = Script("0 noise 100\n2 end\n");
  const PcmSamples a = RoomSound(script), b = RoomSound(script);
  EXPECT_EQ(a, b);
  EXPECT_GT(Peak(a, 0, a.size()), 10);
  EXPECT_LE(Peak(a, 0, a.size()), 200);
}

}  // namespace
}  // namespace zk::sample
