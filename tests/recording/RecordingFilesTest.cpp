// Loading with the dialog and the list of a numbered series.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "TestFiles.h"
#include "TransportLog.h"
#include "base/RecordingCodes.h"
#include "core/UnsavedRecording.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"
#include "recording/Player.h"
#include "recording/RecordingFiles.h"
#include "zkd/RecordFile.h"

namespace zk::test {
namespace {

struct FakeSeriesList : SeriesList {
  std::vector<std::string> items;
  int index = -1;
  int dropDowns = 0;
  bool keyPreview = true;
  void Clear() override {
    items.clear();
    index = -1;
  }
  void AddItem(const std::string& text) override { items.push_back(text); }
  void SetListIndex(int i) override { index = i; }
  std::string Text() const override { return index >= 0 && index < int(items.size()) ? items[index] : ""; }
  void DropDown() override { ++dropDowns; }
  void SetKeyPreview(bool on) override { keyPreview = on; }
};

class RecordingFilesTest : public ::testing::Test {
 protected:
  RecordingFilesTest() {
    table.Init_SensTable();
    t.settings.AudioEnable = false;  // the silent track: the fake device never reads it
    t.state.DummyAudioPath = dir / "dummy.mp3";
    WriteBytes(t.state.DummyAudioPath, {1});
  }
  void Save(const std::string& name, int records = 60) {
    ASSERT_FALSE(WriteRecordFile(dir / (name + ".zkd"), Readings(records), records, std::nullopt));
  }
  std::string Loaded() const { return t.controls.ToolTip("lblLoadedFile"); }

  TempFolder dir;
  TestContext t;
  SensitivityTable table;
  MeterEngine engine{t.ctx, table};
  TransportLog bar;
  CountingGate gate;
  Transport transport{t.ctx, bar};
  Player player{t.ctx, bar, engine, gate, transport};
  RecordingMemory memory{t.ctx};
  FakeSeriesList list;
  RecordingFiles files{t.ctx, player, transport, bar, gate, memory, list};
};

TEST_F(RecordingFilesTest, LoadDialogLoadsAndSetsUpThePanel) {
  Save("take");
  t.settings.LoadPath = "/somewhere/";
  t.prompts.files.push_back(dir / "take.zkd");
  files.cmdLoad_Click();
  ASSERT_EQ(t.prompts.fileRequests.size(), 1u);
  const FileDialogRequest& req = t.prompts.fileRequests[0];
  EXPECT_EQ(req.title, "Load File for Playback");
  EXPECT_EQ(req.filter, "zkd file (*.zkd*)|*.zkd");
  EXPECT_EQ(req.flags, 4100);
  EXPECT_EQ(req.initDir, "/somewhere/");
  EXPECT_TRUE(t.state.FileLoaded);
  EXPECT_EQ(t.state.RecordCount, 60);
  EXPECT_EQ(t.settings.LoadPath, dir / "");
  EXPECT_EQ(t.controls.Caption("lblLoadedFile"), "take");
  EXPECT_TRUE(t.controls.Enabled("picFilePosition"));
  EXPECT_TRUE(t.controls.Enabled("picRecord"));
  EXPECT_EQ(std::count(bar.calls.begin(), bar.calls.end(), "clear"), 1);  // the progress bar grew from nothing
  EXPECT_EQ(gate.holds, 1);
  EXPECT_EQ(gate.releases, 1);

  // Cancelled: nothing loaded, the stream back on.
  files.cmdLoad_Click();
  EXPECT_EQ(gate.releases, 2);
  EXPECT_TRUE(t.state.FileLoaded);  // nothing was flushed
}

TEST_F(RecordingFilesTest, AnUnsavedRecordingIsKeptWhenTheUserSaysNo) {
  t.state.RecordingUnsaved = true;
  t.settings.RecPromptEnable = true;
  t.prompts.answers.push_back(MsgResult::No);
  files.cmdLoad_Click();
  EXPECT_EQ(t.prompts.shown.back().text, "Previous recording not saved, Continue?");
  EXPECT_TRUE(t.prompts.fileRequests.empty());
  EXPECT_TRUE(t.state.RecordingUnsaved);

  // Yes, then Cancel in the load dialog: the recording is still there and still unsaved.
  t.state.FileLoaded = true;
  t.state.RecordCount = 5;
  t.prompts.answers.push_back(MsgResult::Yes);
  files.cmdLoad_Click();
  ASSERT_EQ(t.prompts.fileRequests.size(), 1u);
  EXPECT_TRUE(t.state.RecordingUnsaved && t.state.FileLoaded);
  EXPECT_EQ(t.state.RecordCount, 5);
}

TEST_F(RecordingFilesTest, SeriesListShowsTheNumbersPresentAndReloadsTheLoadedOne) {
  for (const char* n : {"take001", "take002", "take005", "other003"}) Save(n);
  ASSERT_TRUE(files.Open_Recording(dir / "take005.zkd", *Unsaved_Recording_Guard(t.ctx)));
  files.cmdLoad_MouseDown(RightMouseButton);
  EXPECT_EQ(list.items, (std::vector<std::string>{"001", "002", "005"}));
  EXPECT_EQ(list.Text(), "005");
  EXPECT_TRUE(t.state.FileLoaded);  // loaded again through the selection
  EXPECT_EQ(Loaded(), dir / "take005");
  EXPECT_TRUE(t.controls.Visible("cboFile"));
  EXPECT_FALSE(t.controls.Visible("lblLoadedFile"));
  EXPECT_EQ(t.controls.focus, "cboFile");
  EXPECT_EQ(list.dropDowns, 1);
  EXPECT_FALSE(list.keyPreview);

  // The arrows move through the list without loading; Enter loads the entry.
  files.cboFile_KeyDown(40);
  list.SetListIndex(0);
  files.cboFile_Click();
  EXPECT_EQ(Loaded(), dir / "take005");
  files.cboFile_KeyUp(40);
  files.cboFile_KeyPress(13);
  EXPECT_EQ(Loaded(), dir / "take001");
  EXPECT_FALSE(t.controls.Visible("cboFile"));
  EXPECT_TRUE(t.controls.Visible("lblLoadedFile"));
  EXPECT_TRUE(list.keyPreview);
}

TEST_F(RecordingFilesTest, NamesThatAreNoSeriesOpenNoList) {
  for (const char* n : {"take000", "takeabc", "x"}) {
    Save(n);
    ASSERT_TRUE(files.Open_Recording(dir / n, *Unsaved_Recording_Guard(t.ctx)));
    files.cmdLoad_MouseDown(RightMouseButton);
    EXPECT_EQ(list.dropDowns, 0) << n;
    EXPECT_TRUE(t.state.FileLoaded) << n;
  }
  files.cmdLoad_MouseDown(1);  // the left button is the load dialog's
  EXPECT_EQ(list.dropDowns, 0);
}

TEST_F(RecordingFilesTest, LeavingTheListLoadsNothingButResumesTheReadings) {
  Save("take001");
  Save("take002");
  ASSERT_TRUE(files.Open_Recording(dir / "take002", *Unsaved_Recording_Guard(t.ctx)));
  std::filesystem::remove(dir / "take002.zkd");  // gone meanwhile: the list cannot reload it
  const int releases = gate.releases;
  files.cmdLoad_MouseDown(RightMouseButton);
  EXPECT_FALSE(t.state.FileLoaded);
  EXPECT_EQ(gate.releases, releases);  // held while the list is open
  files.cboFile_LostFocus();
  EXPECT_FALSE(t.controls.Visible("cboFile"));
  EXPECT_TRUE(t.controls.Visible("lblLoadedFile"));
  EXPECT_TRUE(list.keyPreview);
  EXPECT_FALSE(t.state.FileLoaded);
  EXPECT_EQ(gate.releases, releases + 1);
  files.cboFile_DblClick();
  EXPECT_EQ(t.shell.beeps, 1);
}

TEST_F(RecordingFilesTest, LoadingWhilePausedEndsThePlaybackFirst) {
  Save("take", 3000);
  ASSERT_TRUE(files.Open_Recording(dir / "take", *Unsaved_Recording_Guard(t.ctx)));
  Save("next");
  t.events.At(t.clock.now + 2.0, [&] { player.cmdPlay_Click(); });  // pause
  t.events.At(t.clock.now + 4.0, [&] {
    t.prompts.files.push_back(dir / "next.zkd");
    files.cmdLoad_Click();
  });
  const double t0 = t.clock.now;
  player.cmdPlay_Click();  // the fake sound device never moves: the play loop waits
  EXPECT_LT(t.clock.now - t0, 6.0);
  EXPECT_EQ(bar.Words(), (std::vector<std::string>{"PLAY", "PAUSE", "END"}));
  EXPECT_EQ(t.state.PlayState, PlayStopped);
  EXPECT_NE(t.state.OperatingMode, ModePlayback);
  EXPECT_EQ(t.controls.Caption("lblLoadedFile"), "next");
  EXPECT_EQ(t.state.RecordCount, 60);
}

}  // namespace
}  // namespace zk::test
