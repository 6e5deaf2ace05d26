#include "app/CommandState.h"

#include <gtest/gtest.h>

#include "Fakes.h"
#include "WindowControls.h"
#include "base/RecordingCodes.h"

namespace zk {
namespace {

using test::TestContext;

struct CommandState : ::testing::Test {
  void SetUp() override { test::DeclareWindowControls(t.controls); }
  TestContext t;
  test::FakeControls& c = t.controls;
  bool Vis(const char* n) { return c.Visible(n); }
  bool En(const char* n) { return c.Enabled(n); }
  std::string Pic(const char* n) { return c.Get(n, -1).picture; }
  std::string Tip(const char* n) { return c.Get(n, -1).toolTip; }
};

TEST_F(CommandState, DemonstrationModeHidesRecordingAndOffersLoading) {
  t.state.OperatingMode = ModeNone;
  t.state.FileLoaded = false;
  c.SetVisible("chkOveride", true);
  Update_Command_State(t.ctx);
  EXPECT_FALSE(En("cmdStop"));
  EXPECT_FALSE(Vis("cmdRecord"));
  EXPECT_FALSE(Vis("cmdSave"));
  EXPECT_FALSE(Vis("lblRecordMode"));
  EXPECT_FALSE(Vis("cmdLoop"));
  EXPECT_TRUE(Vis("cmdLoad") && En("cmdLoad"));
  EXPECT_FALSE(En("cmdRev") || En("cmdFwd"));
  EXPECT_EQ(Pic("cmdPlay"), "Play");
  EXPECT_FALSE(En("cmdPlay"));
  EXPECT_TRUE(Vis("chkOveride"));  // left as it was

  t.state.FileLoaded = true;
  Update_Command_State(t.ctx);
  EXPECT_TRUE(En("cmdPlay"));
}

TEST_F(CommandState, LiveModeSaveButtonFollowsTheUnsavedRecordingAndMode) {
  t.state.OperatingMode = ModeLive;
  t.state.RecordingUnsaved = true;
  const struct {
    int mode;
    const char* pic;
    const char* tip;
  } cases[] = {{1, "Save", "Save As"},
               {2, "Save", "Save"},
               // An automatic save that failed, and a captured recording, are named by the user.
               {3, "Save", "Save As"},
               {4, "Save", "Save As"}};
  for (auto k : cases) {
    t.settings.RecordingMode = k.mode;
    c.SetEnabled("cmdSave", false);
    Update_Command_State(t.ctx);
    EXPECT_EQ(Pic("cmdSave"), k.pic) << k.mode;
    EXPECT_EQ(Tip("cmdSave"), k.tip) << k.mode;
    EXPECT_TRUE(En("cmdSave"));
  }
  EXPECT_TRUE(Vis("cmdRecord") && Vis("cmdSave") && Vis("lblRecordMode"));
  EXPECT_FALSE(Vis("chkOveride"));
  EXPECT_EQ(Pic("cmdLoad"), "Load");

  t.state.RecordingUnsaved = false;
  Update_Command_State(t.ctx);
  EXPECT_EQ(Pic("cmdSave"), "Settings");
  EXPECT_EQ(Tip("cmdSave"), "Recording Settings");
}

TEST_F(CommandState, LiveRecordButtonKeepsItsStateWithoutAFolderForAutomaticNames) {
  t.state.OperatingMode = ModeLive;
  t.settings.RecordingMode = 2;
  t.settings.SavePath = "";
  c.SetEnabled("cmdRecord", false);
  Update_Command_State(t.ctx);
  EXPECT_FALSE(En("cmdRecord"));
  c.SetEnabled("cmdRecord", true);
  Update_Command_State(t.ctx);
  EXPECT_TRUE(En("cmdRecord"));

  t.settings.RecordingMode = 1;
  c.SetEnabled("cmdRecord", false);
  Update_Command_State(t.ctx);
  EXPECT_TRUE(En("cmdRecord"));
}

TEST_F(CommandState, PlaybackShowsTransportAndPausePicture) {
  t.state.OperatingMode = ModePlayback;
  t.state.PlayState = 1;
  Update_Command_State(t.ctx);
  EXPECT_TRUE(En("cmdStop") && En("cmdRev") && En("cmdFwd"));
  EXPECT_FALSE(Vis("cmdRecord") || Vis("cmdSave") || Vis("lblRecordMode") || Vis("cmdLoad"));
  EXPECT_TRUE(Vis("cmdLoop") && Vis("chkOveride"));
  EXPECT_EQ(Pic("cmdPlay"), "Pause");
  t.state.PlayState = 2;
  Update_Command_State(t.ctx);
  EXPECT_EQ(Pic("cmdPlay"), "Play");
}

TEST_F(CommandState, RecordingDisablesAllButStopAndLeavesVisibility) {
  t.state.OperatingMode = ModeRecording;
  c.SetVisible("lblRecordMode", true);
  c.SetVisible("cmdLoop", false);
  Update_Command_State(t.ctx);
  EXPECT_TRUE(En("cmdStop"));
  for (const char* n : {"cmdRecord", "cmdSave", "cmdLoad", "cmdRev", "cmdFwd", "cmdPlay"}) EXPECT_FALSE(En(n)) << n;
  EXPECT_TRUE(Vis("lblRecordMode"));
  EXPECT_FALSE(Vis("cmdLoop"));
}

TEST_F(CommandState, UnknownModeChangesNothing) {
  t.state.OperatingMode = 7;
  Update_Command_State(t.ctx);
  EXPECT_TRUE(c.items.empty());
}

TEST(RecordModeLabel, ShowsTheModeAndWhereAutomaticNamesGo) {
  TestContext t;
  t.settings.SavePath = "/nonexistent/folder/";
  t.settings.SavePrefix = "Sess_";
  t.settings.SuffixType = 0;
  const struct {
    int mode;
    const char *caption, *tip;
  } modes[] = {{RecAutoSave, "Auto Save", "Sess_nnn"},
               {RecCapture, "Capture", "Sess_nnn"},
               {RecManual, "Manual", ""},
               {9, "Manual", ""}};
  for (auto m : modes) {
    t.settings.RecordingMode = m.mode;
    Update_RecordModeLabel(t.ctx);
    EXPECT_EQ(t.settings.SavePath, "");  // the missing folder is forgotten
    EXPECT_EQ(t.controls.Caption("lblRecordMode"), m.caption) << m.mode;
    EXPECT_EQ(t.controls.Get("lblRecordMode", -1).toolTip, m.tip) << m.mode;
  }
  t.settings.SavePath = "/tmp/";
  t.settings.SuffixType = 1;
  t.settings.RecordingMode = RecAutoName;
  Update_RecordModeLabel(t.ctx);
  EXPECT_EQ(t.controls.Get("lblRecordMode", -1).toolTip, "/tmp/Sess_Date__Time");
}

}  // namespace
}  // namespace zk
