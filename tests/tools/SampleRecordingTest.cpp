#include "SampleRecording.h"

#include <gtest/gtest.h>

#include "base/Clock.h"

namespace zk::sample {
namespace {

SampleRecording Record(const std::string& text) {
  const ScriptResult r = ParseScript(text);
  EXPECT_TRUE(r.ok()) << r.error;
  SampleRecording rec = RecordScript(r.script);
  EXPECT_EQ(rec.error, "");
  return rec;
}

// Record k of a recording, which starts at 0 ms: the one at `seconds`.
const SampleRecord& At(const SampleRecording& rec, double seconds) {
  return rec.records.at(static_cast<std::size_t>(seconds * 50) + 1);
}

TEST(SampleRecordingTest, FiftyRecordsASecondTwentyMillisecondsApartWithTheStartInTheHeader) {
  const SampleRecording rec = Record("0 level 30000\n4 end\n");
  ASSERT_EQ(rec.recordCount, 200);
  for (int32_t k = 1; k <= rec.recordCount; ++k) {
    EXPECT_EQ(rec.records[k].TimeMs, (k - 1) * 20) << "record " << k;
    EXPECT_EQ(rec.records[k].RawReading(), 30000);
    EXPECT_EQ(rec.records[k].Letter, 'P');
  }
  EXPECT_EQ(rec.header.RecordStartSeconds, 10 * 3600 + 30 * 60);
  EXPECT_EQ(rec.header.RecordStartDay, DateSerial(2026, 3, 14) - DateSerial(1999, 12, 31));
}

TEST(SampleRecordingTest, AFallMovesTheNeedleRightAndARiseLeftAtTheKnobsGain) {
  const SampleRecording rec = Record(
      "0 level 30000\n"
      "2 glide 29500 2\n"
      "6 sensitivity 16\n"
      "7 glide 30000 2\n"
      "11 end\n");
  const int settled = At(rec, 1.5).Needle;
  const int fallen = At(rec, 5).Needle;
  const int risen = At(rec, 10).Needle;
  EXPECT_GT(fallen - settled, 500);
  EXPECT_LT(risen, fallen);
  // The same 500 readings move the needle further at the higher step.
  EXPECT_GT(fallen - risen, fallen - settled);
  EXPECT_EQ(At(rec, 5).Sensitivity, 8);
  EXPECT_EQ(At(rec, 10).Sensitivity, 16);
}

TEST(SampleRecordingTest, TagsAreCountedOnTheRecordOfTheirMoment) {
  const SampleRecording rec = Record("0 level 30000\n1 tag\n2.5 tag\n3 end\n");
  int tags = 0;
  for (int32_t k = 1; k <= rec.recordCount; ++k) {
    if (rec.records[k].Marker != 'T') continue;
    ++tags;
    EXPECT_EQ(rec.records[k].Tag, tags);
    EXPECT_EQ(rec.records[k].TimeMs, tags == 1 ? 1000 : 2500);
  }
  EXPECT_EQ(tags, 2);
}

TEST(SampleRecordingTest, AJoltFreezesTheNeedleOnlyWhileFreezeIsOnAndGlidesNeverCountAsMotion) {
  const SampleRecording rec = Record(
      "0 level 30000\n"
      "0 wobble 40 5\n"
      "1 glide 25000 8\n"
      "10 jolt 2000\n"
      "12 freeze on\n"
      "13 jolt 2000\n"
      "16 end\n");
  auto frozenBetween = [&](double from, double to) {
    int n = 0;
    for (double t = from; t < to; t += 0.02) n += (At(rec, t).Flags & RecordFlags::Frozen) != 0;
    return n;
  };
  EXPECT_EQ(frozenBetween(0.5, 13), 0);
  EXPECT_GT(frozenBetween(13, 14), 20);  // held half a second at least
  EXPECT_EQ(frozenBetween(15, 16), 0);
  // The needle stood still while frozen.
  EXPECT_EQ(At(rec, 13.1).Needle, At(rec, 13.4).Needle);
  // Body motion lights its lamp on the record for the glide-free jolts only.
  int motion = 0;
  for (double t = 0.5; t < 10; t += 0.02) motion += (At(rec, t).Flags & RecordFlags::LampMask) == 2;
  EXPECT_EQ(motion, 0);
}

}  // namespace
}  // namespace zk::sample
