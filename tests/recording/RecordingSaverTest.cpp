// Writing recordings: a new recording saved by the recording mode and from the save
// button, the save button's way to the recording settings, and "Save File As" for a copy
// of the recording in memory.
#include "recording/RecordingSaver.h"

#include <gtest/gtest.h>

#include "SessionRig.h"
#include "TestFiles.h"
#include "core/RecordingCodes.h"
#include "sound/SoundFile.h"
#include "sound/TrackDevice.h"
#include "zkd/RecordFile.h"

namespace zk::test {
namespace {

struct RecordingSaverTest : LiveRecording {};

// ---------------------------------------------------------------------------------------
// A new recording, saved by the recording mode

TEST_F(RecordingSaverTest, AutoSaveNumbersConsecutiveRecordingsAndWritesTheirFiles) {
  s.RecordingMode = RecAutoSave;
  rig.Sensor(20, [](int i) { return 1000 + 3 * i; });
  Record(1.5);
  Record(2.2);

  for (const char* name : {"Run_001", "Run_002"}) {
    RecordFileData data;
    ASSERT_EQ(ReadRecordFile(dir / (std::string(name) + ".zkd"), data).status, ReadStatus::Ok) << name;
    EXPECT_EQ(data.records[1].Marker, 'C');  // time and date in the first two records
    EXPECT_EQ(data.records[2].Marker, 'D');
    std::string error;
    auto wav = SoundFileSource::Open(dir / (std::string(name) + ".wav"), error);
    ASSERT_TRUE(wav) << error;
    const double soundMs = 1000.0 * static_cast<double>(wav->Frames()) / wav->Format().rate;
    EXPECT_NEAR(soundMs, data.TotalTimeMs, 1000) << name;
    EXPECT_GE(soundMs, data.TotalTimeMs) << name;
  }
  EXPECT_EQ(s.SuffixNum, 3);
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_EQ(s.LoadPath, s.SavePath);
  EXPECT_EQ(rig.controls.Caption("lblLoadedFile"), "Run_002");
  EXPECT_EQ(rig.controls.Get("lblLoadedFile", -1).toolTip, s.SavePath + "Run_002");
  EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST_F(RecordingSaverTest, AutoNameSavesOnTheButtonAndDateSuffixNeverCounts) {
  rig.Sensor(20);
  Record(1);
  rig.saver.cmdSave_Click();
  EXPECT_TRUE(std::filesystem::exists(dir / "Run_001.zkd"));
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_EQ(s.SuffixNum, 2);

  s.SuffixType = 1;
  Record(1);
  EXPECT_EQ(st.RecordName.substr(0, 14), "Run_26-12-08__");
  rig.saver.cmdSave_Click();
  EXPECT_TRUE(std::filesystem::exists(dir / (st.RecordName + ".zkd")));
  EXPECT_EQ(s.SuffixNum, 2);
}

TEST_F(RecordingSaverTest, ManualAsksForTheNameAndNeverCounts) {
  s.RecordingMode = RecManual;
  rig.Sensor(20);
  Record(1);
  EXPECT_EQ(rig.controls.Get("cmdSave", -1).toolTip, "Save As");
  rig.saver.cmdSave_Click();  // cancelled: nothing saved
  EXPECT_TRUE(st.RecordingUnsaved);
  ASSERT_EQ(rig.prompts.fileRequests.size(), 1u);
  EXPECT_EQ(rig.prompts.fileRequests[0].title, "Save Recording As");
  EXPECT_EQ(rig.prompts.fileRequests[0].fileName, "Run_");
  EXPECT_EQ(rig.prompts.fileRequests[0].flags, 1026);

  TempFolder other;
  rig.prompts.files.push_back(other / "session.zkd");
  rig.saver.cmdSave_Click();
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_TRUE(std::filesystem::exists(other / "session.zkd"));
  EXPECT_TRUE(std::filesystem::exists(other / "session.wav"));
  EXPECT_EQ(st.RecordName, "session");
  EXPECT_EQ(s.SavePath, other.str() + "/");
  EXPECT_EQ(s.LoadPath, s.SavePath);
  EXPECT_EQ(rig.controls.Caption("lblLoadedFile"), "session");
  EXPECT_EQ(s.SuffixNum, 1);
}

TEST_F(RecordingSaverTest, FailedAutoSaveKeepsTheRecordingToBeSavedElsewhere) {
  s.RecordingMode = RecAutoSave;
  s.SavePath = dir.str() + "/gone/";  // the folder was removed after it was chosen
  rig.Sensor(20);
  Record(1);
  ASSERT_EQ(rig.prompts.shown.size(), 1u);
  EXPECT_NE(rig.prompts.shown[0].text.find(s.SavePath + "Run_001.wav"), std::string::npos);
  EXPECT_TRUE(st.RecordingUnsaved);
  EXPECT_TRUE(st.FileLoaded);
  EXPECT_EQ(s.SuffixNum, 1);
  const int32_t records = st.RecordCount;

  rig.prompts.files.push_back(dir / "rescued.zkd");
  rig.saver.cmdSave_Click();
  EXPECT_EQ(rig.prompts.fileRequests.back().fileName, "Run_001");
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_EQ(RecordCountForLength(std::filesystem::file_size(dir / "rescued.zkd")), records);
  EXPECT_EQ(s.SuffixNum, 1);
  EXPECT_EQ(s.SavePath, dir.str() + "/gone/");  // the automatic folder stays the user's choice
}

TEST_F(RecordingSaverTest, FailedZkdWriteLeavesTheOldFilesAndTheRecording) {
  s.RecordingMode = RecAutoName;
  s.AudioEnable = false;
  rig.Sensor(20);
  dir.Write("Run_001.zkd", "older recording");
  Record(1);
  {
    FileSizeLimit limit(100);  // the disk fills up half way
    rig.saver.cmdSave_Click();
  }
  EXPECT_EQ(dir.Read("Run_001.zkd"), "older recording");
  EXPECT_TRUE(st.RecordingUnsaved);
  EXPECT_EQ(s.SuffixNum, 1);
  ASSERT_EQ(rig.prompts.shown.size(), 1u);
  EXPECT_NE(rig.prompts.shown[0].text.find(dir / "Run_001.zkd"), std::string::npos);
}

TEST_F(RecordingSaverTest, CaptureKeepsTheRecordingUntilTheUserNamesIt) {
  s.RecordingMode = RecCapture;
  rig.Sensor(20);
  Record(1);
  EXPECT_TRUE(st.RecordingUnsaved);
  EXPECT_FALSE(std::filesystem::exists(dir / "Run_001.zkd"));
  EXPECT_EQ(rig.controls.Caption("lblLoadedFile"), "Buffer");
  rig.prompts.files.push_back(dir / "Run_001.zkd");
  rig.saver.cmdSave_Click();
  EXPECT_TRUE(std::filesystem::exists(dir / "Run_001.zkd"));
  EXPECT_EQ(s.SuffixNum, 1);
  EXPECT_EQ(s.SavePath, dir.str() + "/");
}

TEST_F(RecordingSaverTest, SaveButtonWithNothingUnsavedOpensTheSettings) {
  rig.saver.cmdSave_MouseDown(RightMouseButton);  // right click: only for an unsaved recording
  EXPECT_EQ(rig.setup.shown, 0);
  rig.saver.cmdSave_Click();
  EXPECT_EQ(rig.setup.shown, 1);
  EXPECT_EQ(rig.shell.recordModeLabel, 1);  // the mode label shows the settings as they are now
}

// ---------------------------------------------------------------------------------------
// A copy of the recording in memory

struct SaveFileAs : ::testing::Test {
  SaveFileAs() {
    t.settings.AudioEnable = false;
    t.state.RecordBuffer = Readings(60);
    t.state.RecordCount = 60;
    t.state.FileLoaded = true;  // as after loading or saving it
  }
  TempFolder dir;
  TestContext t;
  RecordingMemory memory{t.ctx};
  CountingSetupDialog setup;
  RecordingSaver saver{t.ctx, memory, setup};
};

TEST_F(SaveFileAs, WritesACopyOfALoadedRecording) {
  t.prompts.files.push_back(dir / "copy.zkd");
  saver.lblLoadedFile_MouseDown(RightMouseButton);
  ASSERT_EQ(t.prompts.fileRequests.size(), 1u);
  EXPECT_EQ(t.prompts.fileRequests[0].title, "Save File As");
  EXPECT_EQ(t.prompts.fileRequests[0].filter, "ZKD file (*.zkd*)|*.zkd");
  EXPECT_EQ(t.prompts.fileRequests[0].flags, 1026);
  EXPECT_EQ(t.prompts.fileRequests[0].initDir, "");
  RecordFileData copy;
  ASSERT_EQ(ReadRecordFile(dir / "copy.zkd", copy).status, ReadStatus::Ok);
  EXPECT_EQ(copy.RecordCount, 60);

  // With sound on the sound goes beside it; the next dialog opens in that folder.
  t.settings.AudioEnable = true;
  t.prompts.files.push_back(dir / "a.zkd");
  saver.lblLoadedFile_MouseDown(RightMouseButton);
  EXPECT_EQ(t.audio.calls.back(), "save " + dir / "a.wav");
  EXPECT_TRUE(std::filesystem::exists(dir / "a.zkd"));
  EXPECT_EQ(t.prompts.fileRequests[1].initDir, dir / "");

  // Not for an unsaved new recording, nor with nothing loaded.
  t.state.RecordingUnsaved = true;
  saver.lblLoadedFile_MouseDown(RightMouseButton);
  t.state.RecordingUnsaved = false;
  t.state.FileLoaded = false;
  saver.lblLoadedFile_MouseDown(RightMouseButton);
  EXPECT_EQ(t.prompts.fileRequests.size(), 2u);
}

TEST_F(SaveFileAs, AFailedSaveIsReported) {
  t.prompts.files.push_back(dir / "no/such/folder/copy.zkd");
  saver.lblLoadedFile_MouseDown(RightMouseButton);
  ASSERT_FALSE(t.prompts.shown.empty());
  EXPECT_EQ(t.prompts.shown.back().text.rfind("The file could not be saved for the following reason(s): \n", 0), 0u);
}

// A sound that cannot be written is told, and the older recording of that name keeps both
// its files: neither its sound is deleted nor its records replaced by a copy without sound.
TEST_F(SaveFileAs, AFailedSoundIsReportedAndLeavesTheOlderPairWhole) {
  t.settings.AudioEnable = true;
  dir.Write("a.zkd", "older records");
  dir.Write("a.wav", "older sound");
  t.audio.result = AudioSaveFailed;
  t.prompts.files.push_back(dir / "a.zkd");
  saver.lblLoadedFile_MouseDown(RightMouseButton);
  ASSERT_EQ(t.prompts.shown.size(), 1u);
  EXPECT_EQ(t.prompts.shown[0].text.rfind("The file could not be saved for the following reason(s): \n4: '", 0), 0u)
      << t.prompts.shown[0].text;
  EXPECT_EQ(dir.Read("a.zkd"), "older records");
  EXPECT_EQ(dir.Read("a.wav"), "older sound");
}

}  // namespace
}  // namespace zk::test
