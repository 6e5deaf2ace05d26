// The notes on the recording in memory: they follow a new recording to its file when it is
// saved, go with a copy, are read with a loaded recording and written back as they change,
// and a damaged notes file never stops a recording nor is written over unseen.
#include "recording/RecordingNotes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "SessionRig.h"
#include "TestFiles.h"
#include "core/UnsavedRecording.h"
#include "recording/RecordingSaver.h"

namespace zk::test {
namespace {

namespace fs = std::filesystem;

struct NewRecordingNotes : LiveRecording {};

TEST_F(NewRecordingNotes, NotesTypedBeforeTheSaveAreWrittenWithThePair) {
  s.RecordingMode = RecManual;
  rig.Sensor(20);
  Record(1);
  RecordingNotes& notes = rig.memory.Notes();
  notes.Set_Session("first session");
  notes.Set_Tag(1, "a note");
  EXPECT_TRUE(notes.Write());  // nothing to write to yet: kept in memory
  EXPECT_TRUE(fs::is_empty(dir.str()));

  // A stale notes file under the name chosen belongs to no recording of ours any more.
  dir.Write("take.notes", "zodovaz notes 1\ntag\t9\told\n");
  rig.prompts.files.push_back(dir / "take.zkd");
  rig.saver.cmdSave_Click();
  ASSERT_TRUE(fs::exists(dir / "take.zkd"));
  EXPECT_EQ(LoadNotes(dir / "take").notes, notes.Notes());
  EXPECT_EQ(notes.BasePath(), dir / "take");

  // From now on a change goes to that file; a copy takes the notes along.
  notes.Set_Tag(1, "changed");
  EXPECT_TRUE(notes.Write());
  EXPECT_EQ(LoadNotes(dir / "take").notes.Of(1), "changed");
  rig.prompts.files.push_back(dir / "copy.zkd");
  rig.saver.lblLoadedFile_MouseDown(RightMouseButton);
  EXPECT_EQ(LoadNotes(dir / "copy").notes.Of(1), "changed");
  EXPECT_EQ(notes.BasePath(), dir / "take");  // the copy is not the recording's file
}

TEST_F(NewRecordingNotes, AnAutomaticSaveWithoutNotesRemovesAStaleNotesFile) {
  s.RecordingMode = RecAutoSave;
  dir.Write("Run_001.notes", "zodovaz notes 1\nsession\tof a recording deleted by hand\n");
  rig.Sensor(20);
  Record(1);
  ASSERT_TRUE(fs::exists(dir / "Run_001.zkd"));
  EXPECT_FALSE(fs::exists(dir / "Run_001.notes"));
}

TEST_F(NewRecordingNotes, ADiscardedRecordingTakesItsNotesAlong) {
  s.RecordingMode = RecManual;
  rig.Sensor(20);
  Record(1);
  rig.memory.Notes().Set_Session("gone with it");
  rig.memory.Flush_RecBuffer(*Unsaved_Recording_Guard(rig.ctx));
  EXPECT_TRUE(rig.memory.Notes().Notes().Empty());
  EXPECT_TRUE(fs::is_empty(dir.str()));
}

struct LoadedNotes : ::testing::Test {
  TempFolder dir;
  ScriptedPrompts prompts;
  RecordingNotes notes{prompts};
};

TEST_F(LoadedNotes, ChangesAreWrittenBackAndAPendingOneBeforeTheRecordingGoes) {
  notes.Loaded(dir / "a");  // no notes file: no notes, nothing said
  EXPECT_TRUE(notes.Notes().Empty());
  EXPECT_TRUE(prompts.shown.empty());
  notes.Set_Tag(2, "typed");
  notes.Forget();  // the next recording is loaded before the field was left
  EXPECT_EQ(LoadNotes(dir / "a").notes.Of(2), "typed");
  EXPECT_TRUE(notes.Notes().Empty());
  EXPECT_EQ(notes.BasePath(), "");
}

TEST_F(LoadedNotes, ADamagedFileIsToldAndKeptAsideWhenANoteIsWritten) {
  const std::string damaged = "zodovaz notes 1\ntag\tseven\tx\n";
  dir.Write("a.notes", damaged);
  notes.Loaded(dir / "a");
  EXPECT_TRUE(notes.Notes().Empty());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_NE(prompts.shown[0].text.find("a.notes is damaged (line 2"), std::string::npos) << prompts.shown[0].text;
  EXPECT_EQ(dir.Read("a.notes"), damaged);  // reading it changes nothing

  notes.Set_Session("new");
  ASSERT_TRUE(notes.Write());
  EXPECT_EQ(dir.Read("a.notes.damaged"), damaged);
  EXPECT_EQ(LoadNotes(dir / "a").notes.session, "new");
}

TEST_F(LoadedNotes, AFailedWriteIsToldAndTheNotesStay) {
  notes.Loaded(dir / "gone/a");
  notes.Set_Session("kept");
  EXPECT_FALSE(notes.Write());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_NE(prompts.shown[0].text.find("could not be written"), std::string::npos);
  EXPECT_EQ(notes.Notes().session, "kept");
}

}  // namespace
}  // namespace zk::test
