#include "core/SessionFile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "TempFiles.h"

namespace zk {
namespace {

using test::ReadText;
using test::TempFolder;
using test::WriteText;

constexpr int ScreenTwips = 19200;  // 1280 pixels at 15 twips

struct SessionFileTest : ::testing::Test {
  TempFolder tmp;
  test::TestContext t;
  Settings& s = t.settings;
  std::string cfg = tmp.File("zk3_Zodovaz.cfg");
  void SetUp() override { t.ctx.programFolder = tmp.str(); }
  // Values that are not the defaults, so a revert shows.
  void SetNonDefaults() {
    s.SettingsFilePath = "/x.ini";
    s.SettingsAutoSave = 1;
    s.CommPort = 3;
    s.SensitivityIndex = 20;
    s.WindowLeft = 1;
    s.WindowTop = 2;
    s.WindowWidth = 3;
    s.WindowState = 2;
  }
  void ExpectDefaults() {
    EXPECT_EQ(s.SettingsFilePath, tmp.str() + "/zk3_Zodovaz.ini");
    EXPECT_EQ(s.SettingsAutoSave, 2);
    EXPECT_EQ(s.CommPort, 0);
    EXPECT_EQ(s.SensitivityIndex, 8);
    EXPECT_EQ(s.WindowLeft, 4800);
    EXPECT_EQ(s.WindowTop, 0);
    EXPECT_EQ(s.WindowWidth, 9600);
    EXPECT_EQ(s.WindowState, 0);
  }
};

TEST_F(SessionFileTest, FirstRunGivesDefaultsAndWritesTheFile) {
  SetNonDefaults();
  EXPECT_FALSE(Read_Session_File(t.ctx, ScreenTwips));
  ExpectDefaults();
  ASSERT_TRUE(Write_Session_File(t.ctx, WindowPlacement{600, 0, 9000, 0}));
  EXPECT_EQ(ReadText(cfg), "\"" + tmp.str() + "/zk3_Zodovaz.ini\"\r\n2\r\n0\r\n8\r\n600\r\n0\r\n9000\r\n0\r\n");
  EXPECT_TRUE(t.prompts.shown.empty());
}

TEST_F(SessionFileTest, WrittenFileReadsBack) {
  s.SettingsFilePath = "/home/u/my, settings.ini";  // a comma inside the quotes
  s.SettingsAutoSave = 0;
  s.CommPort = 16;
  s.SensitivityIndex = 63;
  ASSERT_TRUE(Write_Session_File(t.ctx, WindowPlacement{-120, 345, 10005, 2}));
  SetNonDefaults();
  ASSERT_TRUE(Read_Session_File(t.ctx, ScreenTwips));
  EXPECT_EQ(s.SettingsFilePath, "/home/u/my, settings.ini");
  EXPECT_EQ(s.SettingsAutoSave, 0);
  EXPECT_EQ(s.CommPort, 16);
  EXPECT_EQ(s.SensitivityIndex, 63);
  EXPECT_EQ(s.WindowLeft, -120);
  EXPECT_EQ(s.WindowTop, 345);
  EXPECT_EQ(s.WindowWidth, 10005);
  EXPECT_EQ(s.WindowState, 2);
}

TEST_F(SessionFileTest, ListInputFormsAreAccepted) {
  // Comma separated on one line, LF ends, blanks around values, a fraction rounded to even.
  WriteText(cfg, "\"/a.ini\" , 1, 2,3\n 4.5 ,5\n6,1\n");
  ASSERT_TRUE(Read_Session_File(t.ctx, ScreenTwips));
  EXPECT_EQ(s.SettingsFilePath, "/a.ini");
  EXPECT_EQ(s.SettingsAutoSave, 1);
  EXPECT_EQ(s.CommPort, 2);
  EXPECT_EQ(s.SensitivityIndex, 3);
  EXPECT_EQ(s.WindowLeft, 4);
  EXPECT_EQ(s.WindowTop, 5);
  EXPECT_EQ(s.WindowWidth, 6);
  EXPECT_EQ(s.WindowState, 1);
  // An unquoted path works too.
  WriteText(cfg, "/b.ini\r\n2\r\n0\r\n8\r\n0\r\n0\r\n0\r\n0\r\n");
  ASSERT_TRUE(Read_Session_File(t.ctx, ScreenTwips));
  EXPECT_EQ(s.SettingsFilePath, "/b.ini");
}

TEST_F(SessionFileTest, BadFilesRevertAllEightValues) {
  const char* bad[] = {
      "\"/a.ini\"\r\n1\r\n3\r\n20\r\n1\r\n2\r\n",                     // too few values
      "\"/a.ini\"\r\n1\r\n3\r\n20\r\n1\r\n2\r\n40000\r\n0\r\n",       // width beyond 16 bits
      "\"/a.ini\"\r\n1\r\n3\r\nabc\r\n1\r\n2\r\n3\r\n0\r\n",          // not a number
      "\"/a.ini\"\r\n1\r\n3\r\n20\r\n1\r\n2\r\n\r\n",                 // empty lines are no values
      "\"/a.ini\r\n1\r\n3\r\n20\r\n1\r\n2\r\n3\r\n0\r\n",             // quote never closed
      "\"/a.ini\"\r\n3000000000\r\n3\r\n20\r\n1\r\n2\r\n3\r\n0\r\n",  // autosave beyond 32 bits
      "\"/a.ini\"\r\n1\r\n3\r\n999\r\n1\r\n2\r\n3\r\n0\r\n",          // no knob step 999
      "\"/a.ini\"\r\n1\r\n3\r\n64\r\n1\r\n2\r\n3\r\n0\r\n",
      "\"/a.ini\"\r\n1\r\n3\r\n-5\r\n1\r\n2\r\n3\r\n0\r\n",
      "",
  };
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    WriteText(cfg, text);
    SetNonDefaults();
    EXPECT_FALSE(Read_Session_File(t.ctx, ScreenTwips));
    ExpectDefaults();
  }
}

TEST_F(SessionFileTest, WideWindowIsWrittenAsGivenAndFallsBackOnReading) {
  s.CommPort = 4;
  ASSERT_TRUE(Write_Session_File(t.ctx, WindowPlacement{0, 0, 40000, 2}));
  EXPECT_NE(ReadText(cfg).find("\r\n40000\r\n"), std::string::npos);
  EXPECT_FALSE(Read_Session_File(t.ctx, ScreenTwips));
  EXPECT_EQ(s.CommPort, 0);
}

TEST_F(SessionFileTest, DefaultPlacementRoundsHalvesToEvenAndFitsWideScreens) {
  Set_Default_Session_Values(t.ctx, 19202);  // 4800.5 and 9601
  EXPECT_EQ(s.WindowLeft, 4800);
  EXPECT_EQ(s.WindowWidth, 9601);
  Set_Default_Session_Values(t.ctx, 19206);  // 4801.5 and 9603
  EXPECT_EQ(s.WindowLeft, 4802);
  Set_Default_Session_Values(t.ctx, 115200);  // 7680 pixels: half is 57600 twips
  EXPECT_EQ(s.WindowLeft, 28800);
  EXPECT_EQ(s.WindowWidth, 32767);
}

TEST_F(SessionFileTest, WriteFailureIsShownAndAnsweredFalse) {
  const std::string old = "\"/keep.ini\"\r\n2\r\n0\r\n8\r\n0\r\n0\r\n0\r\n0\r\n";
  t.ctx.programFolder = tmp.File("missing-folder");
  EXPECT_FALSE(Write_Session_File(t.ctx, WindowPlacement{}));
  ASSERT_EQ(t.prompts.shown.size(), 1u);
  EXPECT_EQ(t.prompts.shown[0].text, "Error Saving Session Config File");
  EXPECT_EQ(t.prompts.shown[0].title, "Save Config File");
  EXPECT_EQ(t.prompts.shown[0].buttons, MsgButtons::OK);
  EXPECT_EQ(t.prompts.shown[0].icon, MsgIcon::Critical);
  // The session file sits in a folder of its own: a directory in its place is not replaced.
  t.ctx.programFolder = tmp.str();
  std::filesystem::create_directory(cfg);
  WriteText(cfg + "/inside", old);
  EXPECT_FALSE(Write_Session_File(t.ctx, WindowPlacement{}));
  EXPECT_EQ(ReadText(cfg + "/inside"), old);
}

// When the system ends the program nobody may be there to press OK: the failure goes to
// the standard error, and no box waits.
TEST_F(SessionFileTest, AnUnattendedWriteFailureGoesToTheStandardError) {
  std::filesystem::create_directory(cfg);
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Write_Session_File(t.ctx, WindowPlacement{}, true));
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(t.prompts.shown.empty());
  EXPECT_NE(err.find("Error Saving Session Config File " + cfg), std::string::npos) << err;
}

// A FIFO, a device or a huge file in the session file's place is a file that cannot be
// read: start-up goes on at once with the defaults.
TEST_F(SessionFileTest, WhatIsNoRegularFileOfSaneSizeGivesTheDefaults) {
  ASSERT_EQ(::mkfifo(cfg.c_str(), 0600), 0);
  SetNonDefaults();
  EXPECT_FALSE(Read_Session_File(t.ctx, ScreenTwips));
  ExpectDefaults();
  std::filesystem::remove(cfg);
  std::filesystem::create_symlink("/dev/zero", cfg);
  SetNonDefaults();
  EXPECT_FALSE(Read_Session_File(t.ctx, ScreenTwips));
  ExpectDefaults();
  std::filesystem::remove(cfg);
  WriteText(cfg, "\"/x.ini\"\r\n2\r\n0\r\n8\r\n0\r\n0\r\n0\r\n0\r\n");
  std::filesystem::resize_file(cfg, 300u << 20);
  SetNonDefaults();
  EXPECT_FALSE(Read_Session_File(t.ctx, ScreenTwips));
  ExpectDefaults();
}

}  // namespace
}  // namespace zk
