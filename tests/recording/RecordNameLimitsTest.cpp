// The edges of the automatic names: the longest prefix a file name allows, and a series
// number that was never counted.
#include <gtest/gtest.h>
#include <limits.h>

#include <fstream>
#include <string>

#include "TestFiles.h"
#include "base/RecordingCodes.h"
#include "recording/names/NameClaim.h"
#include "recording/names/RecordNames.h"

namespace zk::test {
namespace {

// The rule matches what the file system takes: the longest prefix allowed makes files
// that can be written, one character more does not.
TEST(RecordNameLimits, TheLongestPrefixAllowedMakesAFileThatCanBeWritten) {
  TempFolder dir;
  const std::string longest(NAME_MAX - std::string("000.zkd").size(), 'r');
  ASSERT_TRUE(Prefix_Fits_File_Name(longest));
  EXPECT_TRUE(std::ofstream(dir / (longest + "000.zkd")).good());
  EXPECT_FALSE(Prefix_Fits_File_Name(longest + "r"));
  EXPECT_FALSE(std::ofstream(dir / (longest + "r000.zkd")).good());

  Settings s;
  s.SavePath = dir.str() + "/";
  s.SavePrefix = longest;
  s.SuffixType = 0;
  s.SuffixNum = 7;
  NameClaim claim;
  EXPECT_FALSE(claim.Claim(s, ""));
  EXPECT_EQ(claim.Name(), longest + "007");
}

// A series number below 1 (a settings file written by hand) starts the series at 001.
TEST(RecordNameLimits, ASeriesNumberBelowOneStartsAtOne) {
  TempFolder dir;
  Settings s;
  s.SavePath = dir.str() + "/";
  s.SavePrefix = "Run_";
  s.SuffixType = 0;
  for (int16_t n : {0, -4}) {
    s.SuffixNum = n;
    EXPECT_EQ(Free_RecordName(s, DateTime{}), "Run_001") << n;
    NameClaim claim;
    ASSERT_FALSE(claim.Claim(s, "")) << n;
    EXPECT_EQ(claim.Name(), "Run_001") << n;
    EXPECT_EQ(claim.Number(), 1) << n;
  }
}

}  // namespace
}  // namespace zk::test
