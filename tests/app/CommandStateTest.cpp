#include "app/CommandState.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

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

// What a mode leaves on the panel: for each control whether it is shown and whether it
// can be used ('y', 'n', or '-' for "as it was"), and the play button's picture.
struct ControlState {
  const char* name;
  char shown, enabled;
};
struct ModeCase {
  const char* what;
  int mode, playState;
  bool fileLoaded;
  std::vector<std::pair<const char*, bool>> shownBefore;  // set up before the update
  std::vector<ControlState> expect;
  const char* playPicture;  // nullptr: not looked at
};

const ModeCase ModeCases[] = {
    {"demonstration mode hides recording and offers loading",
     ModeNone,
     0,
     false,
     {{"chkOveride", true}},
     {{"cmdStop", '-', 'n'},
      {"cmdRecord", 'n', '-'},
      {"cmdSave", 'n', '-'},
      {"lblRecordMode", 'n', '-'},
      {"cmdLoop", 'n', '-'},
      {"cmdLoad", 'y', 'y'},
      {"cmdRev", '-', 'n'},
      {"cmdFwd", '-', 'n'},
      {"cmdPlay", '-', 'n'},
      {"chkOveride", 'y', '-'}},  // left as it was
     "Play"},
    {"demonstration mode with a recording loaded offers playing it",
     ModeNone,
     0,
     true,
     {},
     {{"cmdPlay", '-', 'y'}},
     "Play"},
    {"playback shows the transport and the pause picture",
     ModePlayback,
     PlayPlaying,
     true,
     {},
     {{"cmdStop", '-', 'y'},
      {"cmdRev", '-', 'y'},
      {"cmdFwd", '-', 'y'},
      {"cmdRecord", 'n', '-'},
      {"cmdSave", 'n', '-'},
      {"lblRecordMode", 'n', '-'},
      {"cmdLoad", 'n', '-'},
      {"cmdLoop", 'y', '-'},
      {"chkOveride", 'y', '-'}},
     "Pause"},
    {"a paused playback shows the play picture", ModePlayback, PlayPaused, true, {}, {}, "Play"},
    {"recording disables all but stop and leaves what is shown",
     ModeRecording,
     0,
     true,
     {{"lblRecordMode", true}, {"cmdLoop", false}},
     {{"cmdStop", '-', 'y'},
      {"cmdRecord", '-', 'n'},
      {"cmdSave", '-', 'n'},
      {"cmdLoad", '-', 'n'},
      {"cmdRev", '-', 'n'},
      {"cmdFwd", '-', 'n'},
      {"cmdPlay", '-', 'n'},
      {"lblRecordMode", 'y', '-'},
      {"cmdLoop", 'n', '-'}},
     nullptr},
};

TEST_F(CommandState, EachModeSetsItsControls) {
  for (const ModeCase& k : ModeCases) {
    SCOPED_TRACE(k.what);
    t.state.OperatingMode = k.mode;
    t.state.PlayState = k.playState;
    t.state.FileLoaded = k.fileLoaded;
    for (const auto& [name, shown] : k.shownBefore) c.SetVisible(name, shown);
    Update_Command_State(t.ctx);
    for (const ControlState& e : k.expect) {
      if (e.shown != '-') {
        EXPECT_EQ(Vis(e.name), e.shown == 'y') << e.name << " shown";
      }
      if (e.enabled != '-') {
        EXPECT_EQ(En(e.name), e.enabled == 'y') << e.name << " enabled";
      }
    }
    if (k.playPicture) {
      EXPECT_EQ(Pic("cmdPlay"), k.playPicture);
    }
  }
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

TEST_F(CommandState, AGreyedRecordButtonSaysWhy) {
  t.state.OperatingMode = ModeLive;
  t.settings.RecordingMode = RecAutoName;
  t.settings.SavePath = "";
  t.settings.CommPort = 3;
  c.SetVisible("cmdRecord", true);
  c.SetEnabled("cmdRecord", false);
  Update_Command_State(t.ctx);
  EXPECT_EQ(Tip("cmdRecord"), "Record (no folder to save in: choose one in Recording Settings)");
  t.settings.CommPort = 0;  // the sensor comes first: a folder alone would not help
  Update_Command_State(t.ctx);
  EXPECT_EQ(Tip("cmdRecord"), "Record (no sensor connected)");
  t.state.OperatingMode = ModeRecording;
  Update_Command_State(t.ctx);
  EXPECT_EQ(Tip("cmdRecord"), "Record (recording now)");
  // Usable again: the plain tip comes back.
  t.state.OperatingMode = ModeLive;
  t.settings.CommPort = 3;
  t.settings.SavePath = "/tmp/";
  Update_Command_State(t.ctx);
  EXPECT_TRUE(En("cmdRecord"));
  EXPECT_EQ(Tip("cmdRecord"), "Record");
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
