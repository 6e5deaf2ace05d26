// Which seconds of a spool come back: every second a record jumps over is marked, a
// second whose sound never reached the disk is not brought back, and no more records
// come back than a recording may hold.
#include <gtest/gtest.h>

#include <vector>

#include "TestFiles.h"
#include "base/Clock.h"
#include "base/RecordingRates.h"
#include "spool/SpoolReader.h"
#include "spool/SpoolSound.h"
#include "spool/SpoolWriter.h"

namespace zk {
namespace {

using test::TempFolder;

SpoolInfo Info(bool audio) {
  SpoolInfo info;
  info.RecordStartSeconds = 9 * 3600;
  info.RecordDate = DateSerial(2026, 3, 2);
  info.RecordStartDay = info.RecordDate - DateSerial(1999, 12, 31);
  info.Audio = audio;
  return info;
}

// The window was busy for more than a second: the record after second 0 is one of
// second 2, and only second 0's sound had come. Second 1 is marked complete — its records
// (none) and its sound are there — second 2 is not: its sound is missing.
TEST(SpoolMarks, ASecondWhoseSoundIsMissingDoesNotComeBack) {
  TempFolder dir;
  FileError err;
  auto spool = SpoolWriter::Begin(dir / RecoveryFolderName, Info(true), err);
  ASSERT_TRUE(spool) << err.description;
  const auto readings = test::Readings(60);
  const std::vector<int16_t> second(SoundSampleRate, 7);
  spool->AppendSound(second.data(), second.size());
  for (int k = 1; k <= 50; ++k) spool->AppendRecord(readings[static_cast<std::size_t>(k)], 0);
  spool->AppendRecord(readings[51], 2);
  const std::string path = spool->Path();
  spool.reset();  // not a normal end

  RecoveredRecording r;
  ASSERT_EQ(ReadSpool(path, r).content, SpoolContent::Recording);
  EXPECT_EQ(r.Seconds, 1);
  EXPECT_EQ(r.RecordCount, 50);
  ASSERT_EQ(r.SoundBytes, static_cast<uint64_t>(SoundBytesPerSecond));
  SpoolSound sound(path, r);
  std::vector<int16_t> back(SoundSampleRate + 1);
  EXPECT_EQ(sound.Read(back.data(), back.size()), static_cast<std::size_t>(SoundSampleRate));
  EXPECT_EQ(back[SoundSampleRate - 1], 7);
}

// Seconds of 51 records: a limit that falls inside the second second brings back the
// first alone; a limit right at its end brings back both.
TEST(SpoolMarks, NoMoreRecordsComeBackThanARecordingMayHold) {
  TempFolder dir;
  FileError err;
  auto spool = SpoolWriter::Begin(dir / RecoveryFolderName, Info(false), err);
  ASSERT_TRUE(spool) << err.description;
  const auto readings = test::Readings(160);
  for (int k = 1; k <= 154; ++k) spool->AppendRecord(readings[static_cast<std::size_t>(k)], (k - 1) / 51);
  const std::string path = spool->Path();
  spool.reset();

  const struct {
    uint32_t limit;
    int32_t records, seconds;
  } cases[] = {{101, 51, 1}, {102, 102, 2}, {1000, 153, 3}};
  for (const auto& c : cases) {
    SpoolLimits limits;
    limits.Records = c.limit;
    RecoveredRecording r;
    const SpoolReading read = ReadSpool(path, r, limits);
    ASSERT_EQ(read.content, SpoolContent::Recording) << c.limit;
    EXPECT_EQ(r.RecordCount, c.records) << c.limit;
    EXPECT_EQ(r.Seconds, c.seconds) << c.limit;
    EXPECT_EQ(read.problem.empty(), c.limit == 1000) << c.limit << ": " << read.problem;
  }
}

}  // namespace
}  // namespace zk
