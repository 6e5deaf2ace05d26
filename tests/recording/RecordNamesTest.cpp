// The names of recordings: automatic names, the paths file dialogs hand back, and the
// numbered series a name belongs to.
#include "recording/names/RecordNames.h"

#include <gtest/gtest.h>

namespace zk::test {
namespace {

TEST(RecordNames, AutomaticNames) {
  Settings s;
  s.SavePrefix = "Sess_";
  s.SuffixType = 0;
  s.SuffixNum = 7;
  const DateTime now{2026, 3, 4, 9, 5, 3};
  EXPECT_EQ(New_RecordName(s, now), "Sess_007");
  s.SuffixType = 1;
  EXPECT_EQ(New_RecordName(s, now), "Sess_26-03-04__09.05.03");
}

TEST(RecordNames, SaveDialogNamesBecomeBasePaths) {
  EXPECT_EQ(Base_Path_Of("/a/b/take.zkd"), "/a/b/take");
  EXPECT_EQ(Base_Path_Of("/a/b/take.ZKD"), "/a/b/take");
  EXPECT_EQ(Base_Path_Of("/a/b/take"), "/a/b/take");  // chosen without the ending
  EXPECT_EQ(Folder_Of("/a/b/take"), "/a/b/");
  EXPECT_EQ(Name_Of("/a/b/take"), "take");
  EXPECT_EQ(Folder_Of("take"), "");
}

TEST(RecordNames, SeriesFilesAreThePrefixAndExactlyThreeDigits) {
  EXPECT_TRUE(Is_Series_File("Run_001.zkd", "Run_", ".zkd"));
  EXPECT_TRUE(Is_Series_File("001.zkd", "", ".zkd"));
  EXPECT_FALSE(Is_Series_File("Run_Mon.zkd", "Run_", ".zkd"));
  EXPECT_FALSE(Is_Series_File("Run_0001.zkd", "Run_", ".zkd"));
  EXPECT_FALSE(Is_Series_File("Run_001.wav", "Run_", ".zkd"));
  EXPECT_FALSE(Is_Series_File("Xun_001.zkd", "Run_", ".zkd"));
}

TEST(RecordNames, SeriesNumberIsTheLastThreeDigits) {
  EXPECT_EQ(Series_Number("/a/take007"), 7);
  EXPECT_EQ(Series_Number("/a/take120"), 120);
  EXPECT_EQ(Series_Number("/a/take000"), 0);
  EXPECT_EQ(Series_Number("/a/take12a"), 0);
  EXPECT_EQ(Series_Number("No File Loaded"), 0);
  EXPECT_EQ(Series_Number("12"), 0);
}

}  // namespace
}  // namespace zk::test
