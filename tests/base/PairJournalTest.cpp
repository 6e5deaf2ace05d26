#include "base/PairJournal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "PairSaves.h"
#include "TempFiles.h"
#include "base/AtomicFile.h"
#include "base/StaleTempFiles.h"

namespace zk {
namespace {

using test::ReadText;
using test::SavePair;
using test::TempFolder;
using test::WriteText;

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A crash between the two renames: the sweep leaves the pair's files alone, whatever
// their age, and the next start completes the new pair.
TEST(PairJournal, ACrashBetweenTheRenamesIsCompletedAtTheNextStart) {
  TempFolder dir;
  const std::string base = dir.str() + "/Run_001";
  WriteText(base + ".wav", "old wav");
  WriteText(base + ".zkd", "old zkd");
  SavePair(base, true);
  ASSERT_EQ(ReadText(base + ".wav"), "new wav");
  ASSERT_EQ(ReadText(base + ".zkd"), "old zkd");  // the half-replaced pair

  EXPECT_EQ(RemoveStaleTempFiles(dir.str(), std::chrono::seconds(-60)), 0);
  EXPECT_TRUE(RestorePairs(dir.str()).empty());
  EXPECT_EQ(ReadText(base + ".wav"), "new wav");
  EXPECT_EQ(ReadText(base + ".zkd"), "new zkd");
  EXPECT_EQ(Names(dir.str()), (std::vector<std::string>{"Run_001.wav", "Run_001.zkd"}));

  // A save that runs to its end leaves nothing beside the pair either.
  SavePair(base, false);
  EXPECT_EQ(Names(dir.str()), (std::vector<std::string>{"Run_001.wav", "Run_001.zkd"}));
}

// The journal of a save under way (held) is not completed by another start, and the files
// it names are not swept.
TEST(PairJournal, AHeldJournalIsLeftAloneAndProtectsItsFiles) {
  TempFolder dir;
  const std::string base = dir.str() + "/Run_002";
  WriteText(base + ".zkd", "old zkd");
  const std::string temp = dir.str() + "/.Run_002.zkd.a1B2c3", backup = dir.str() + "/.Run_002.wav.d4E5f6";
  WriteText(temp, "new zkd");
  WriteText(backup, "old wav");
  PairJournal journal;
  ASSERT_FALSE(journal.Write({{base + ".wav", dir.str() + "/.Run_002.wav.x9Y8z7", backup}, {base + ".zkd", temp, ""}}));
  EXPECT_EQ(RemoveStaleTempFiles(dir.str(), std::chrono::seconds(-60)), 0);
  const std::set<std::string> kept = RestorePairs(dir.str());
  EXPECT_EQ(kept.count(".Run_002.zkd.a1B2c3"), 1u);
  EXPECT_EQ(ReadText(base + ".zkd"), "old zkd");
  EXPECT_EQ(ReadText(backup), "old wav");
}

}  // namespace
}  // namespace zk
