#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "TempFiles.h"
#include "sound/ScratchTrack.h"

namespace zk {
namespace {

using test::TempFolder;

std::vector<int16_t> Ramp(int64_t from, int64_t count) {
  std::vector<int16_t> v(static_cast<std::size_t>(count));
  for (int64_t i = 0; i < count; ++i) v[static_cast<std::size_t>(i)] = static_cast<int16_t>((from + i) % 32000);
  return v;
}

// Three and a half seconds arrive in uneven pieces: most of it goes to the file, the rest
// waits in memory, and a read across the two, after the first second is dropped, gives
// the sound back sample for sample. The folder shows no file at any time.
TEST(ScratchTrack, SoundOnDiskAndInMemoryReadsBackAsOneTrack) {
  TempFolder dir;
  const int64_t total = ScratchTrack::SpillSamples * 7 / 2;
  {
    ScratchTrack t(dir.str());
    ASSERT_TRUE(t.OnDisk());
    for (int64_t at = 0; at < total;) {
      const int64_t n = std::min<int64_t>(total - at, 441 + at % 1000);
      const auto piece = Ramp(at, n);
      t.Append(piece.data(), piece.size());
      at += n;
    }
    EXPECT_EQ(t.Size(), total);
    EXPECT_TRUE(std::filesystem::is_empty(dir.str()));

    std::vector<int16_t> all(static_cast<std::size_t>(total));
    ASSERT_EQ(t.Read(0, all.data(), total), total);
    EXPECT_EQ(all, Ramp(0, total));

    t.DropFront(ScratchTrack::SpillSamples);
    const int64_t left = total - static_cast<int64_t>(ScratchTrack::SpillSamples);
    EXPECT_EQ(t.Size(), left);
    std::vector<int16_t> rest(static_cast<std::size_t>(left) + 10);
    ASSERT_EQ(t.Read(5, rest.data(), left + 10), left - 5) << "a read stops at the end";
    rest.resize(static_cast<std::size_t>(left - 5));
    EXPECT_EQ(rest, Ramp(static_cast<int64_t>(ScratchTrack::SpillSamples) + 5, left - 5));
    EXPECT_EQ(t.Read(left, rest.data(), 1), 0);
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.str())) << "nothing is left behind";
}

// A folder that cannot be made (its parent is a file) sends the sound to the system's
// temporary folder; taking from the input's queue empties it.
TEST(ScratchTrack, UnusableFolderFallsBackAndTakeEmptiesTheQueue) {
  TempFolder dir;
  dir.Write("file", "x");
  ScratchTrack t(dir / "file/sub");
  EXPECT_TRUE(t.OnDisk());
  const auto ramp = Ramp(0, ScratchTrack::SpillSamples * 2 + 3);
  PcmSamples queue(ramp.begin(), ramp.end());
  t.Take(queue);
  EXPECT_TRUE(queue.empty());
  std::vector<int16_t> back(ramp.size());
  ASSERT_EQ(t.Read(0, back.data(), static_cast<int64_t>(back.size())), static_cast<int64_t>(ramp.size()));
  EXPECT_EQ(back, ramp);
}

// The disk fills up after the first second: that second stays in the file, the rest is
// kept in memory, and the recording reads back whole.
TEST(ScratchTrack, FullDiskKeepsTheRestInMemory) {
  TempFolder dir;
  ScratchTrack t(dir.str());
  const auto ramp = Ramp(0, ScratchTrack::SpillSamples * 4);
  {
    test::FileSizeLimit limit(ScratchTrack::SpillSamples * 2 + 100);
    for (std::size_t at = 0; at < ramp.size(); at += 1000)
      t.Append(ramp.data() + at, std::min<std::size_t>(1000, ramp.size() - at));
  }
  EXPECT_FALSE(t.OnDisk());
  std::vector<int16_t> back(ramp.size());
  ASSERT_EQ(t.Read(0, back.data(), static_cast<int64_t>(back.size())), static_cast<int64_t>(ramp.size()));
  EXPECT_EQ(back, ramp);
}

// Ending the track on a whole second: a cut inside the file, after a dropped start, then
// appending again reads back as the kept part followed by the new sound; a longer end pads
// with silence.
TEST(ScratchTrack, ResizeCutsInTheFileOrPadsWithSilence) {
  TempFolder dir;
  ScratchTrack t(dir.str());
  const int64_t second = ScratchTrack::SpillSamples;
  const auto ramp = Ramp(0, second * 3 + 7);
  t.Append(ramp.data(), ramp.size());
  t.DropFront(10);
  t.Resize(second + 5);
  ASSERT_EQ(t.Size(), second + 5);
  const auto more = Ramp(50000, 20);
  t.Append(more.data(), more.size());
  std::vector<int16_t> back(static_cast<std::size_t>(t.Size()));
  ASSERT_EQ(t.Read(0, back.data(), t.Size()), t.Size());
  auto want = Ramp(10, second + 5);
  want.insert(want.end(), more.begin(), more.end());
  EXPECT_EQ(back, want);

  t.Resize(t.Size() + 3);
  int16_t end[3] = {1, 1, 1};
  ASSERT_EQ(t.Read(t.Size() - 3, end, 3), 3);
  EXPECT_EQ(end[0] | end[1] | end[2], 0);
}

}  // namespace
}  // namespace zk
