// Writing recordings: a new recording saved by the recording mode and from the save
// button, the save button's way to the recording settings, and "Save File As" for a copy
// of the recording in memory.
#include "recording/RecordingSaver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include "SessionRig.h"
#include "TestFiles.h"

#include "base/RecordingCodes.h"
#include "core/UnsavedRecording.h"
#include "recording/names/NameClaim.h"
#include "sound/SoundFile.h"
#include "sound/TrackDevice.h"
#include "zkd/RecordFile.h"

namespace zk::test {
namespace {

struct RecordingSaverTest : LiveRecording {};

// The names in a folder, sorted.
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

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
  s.RecPromptEnable = false;
  rig.Sensor(20);
  Record(1);
  ASSERT_EQ(rig.prompts.shown.size(), 1u);
  EXPECT_NE(rig.prompts.shown[0].text.find(s.SavePath + "Run_001.zkd"), std::string::npos);
  EXPECT_TRUE(st.RecordingUnsaved);
  // Not saved, and it says so; and it is asked about before it goes, prompt or none.
  EXPECT_TRUE(st.RecordingSaveFailed);
  EXPECT_EQ(rig.controls.Caption("lblLoadedFile"), "Not saved");
  rig.prompts.answers.push_back(MsgResult::No);
  EXPECT_FALSE(Unsaved_Recording_Guard(rig.ctx));
  EXPECT_EQ(rig.prompts.shown.back().text, "Previous recording not saved, Continue?");
  EXPECT_TRUE(st.FileLoaded);
  EXPECT_EQ(s.SuffixNum, 1);
  const int32_t records = st.RecordCount;

  rig.prompts.files.push_back(dir / "rescued.zkd");
  rig.saver.cmdSave_Click();
  EXPECT_EQ(rig.prompts.fileRequests.back().fileName, "Run_001");
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_FALSE(st.RecordingSaveFailed);
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
  // The number was free but the save failed: its claim goes, and nothing is left behind.
  EXPECT_NE(rig.prompts.shown[0].text.find(dir / "Run_002.zkd"), std::string::npos);
  EXPECT_EQ(Entries(dir.str()), std::vector<std::string>{"Run_001.zkd"});
  // The save button now asks for a name.
  rig.saver.cmdSave_Click();
  EXPECT_EQ(rig.prompts.fileRequests.back().title, "Save Recording As");
}

// After a crash the counter in the settings file lags behind the folder, and a file of the
// series may exist on its own (the sound of an interrupted save): the next automatic save
// takes the first number that is wholly free and keeps the count in the settings file.
TEST_F(RecordingSaverTest, AutomaticNamesNeverReplaceARecording) {
  s.RecordingMode = RecAutoSave;
  s.SettingsFilePath = dir / "settings.ini";
  dir.Write("Run_001.zkd", "older records");
  dir.Write("Run_001.wav", "older sound");
  dir.Write("Run_002.wav", "sound without records");
  rig.Sensor(20);
  Record(1);
  EXPECT_EQ(dir.Read("Run_001.zkd"), "older records");
  EXPECT_EQ(dir.Read("Run_001.wav"), "older sound");
  EXPECT_EQ(dir.Read("Run_002.wav"), "sound without records");
  EXPECT_FALSE(std::filesystem::exists(dir / "Run_002.zkd"));
  EXPECT_TRUE(std::filesystem::exists(dir / "Run_003.zkd"));
  EXPECT_EQ(rig.controls.Caption("lblLoadedFile"), "Run_003");
  EXPECT_EQ(s.SuffixNum, 4);
  EXPECT_NE(dir.Read("settings.ini").find("SuffixNum=4"), std::string::npos) << dir.Read("settings.ini");

  // Another copy on the same folder has counted further meanwhile: the number kept never
  // goes back, and it is this copy's next number too.
  dir.Write("settings.ini", "[Recording]\r\nSuffixNum=9\r\n");
  Record(1);
  EXPECT_TRUE(std::filesystem::exists(dir / "Run_004.zkd"));
  EXPECT_EQ(s.SuffixNum, 9);
  EXPECT_NE(dir.Read("settings.ini").find("SuffixNum=9"), std::string::npos) << dir.Read("settings.ini");
  s.SuffixNum = 4;  // as the lines below expect

  // A date name that is taken gets a second name beside it.
  s.SuffixType = 1;
  Record(1);
  const std::string first = st.RecordName;
  ASSERT_TRUE(std::filesystem::exists(dir / (first + ".zkd")));
  const std::string older = dir.Read(first + ".zkd");
  rig.recorder.cmdRecord_Click();
  st.RecordName = first;  // started within the same second
  rig.Run(1);
  rig.Stop();
  EXPECT_EQ(st.RecordName, first + "_2");
  EXPECT_EQ(dir.Read(first + ".zkd"), older);
}

// Two copies of the program saving into one folder at once: claiming a name is exclusive,
// so each gets its own number whatever their counters say.
TEST_F(RecordingSaverTest, ClaimedNamesAreExclusive) {
  {
    NameClaim one, two;
    ASSERT_FALSE(one.Claim(s, ""));
    ASSERT_FALSE(two.Claim(s, ""));
    EXPECT_EQ(one.Name(), "Run_001");
    EXPECT_EQ(two.Name(), "Run_002");
    EXPECT_EQ(two.Number(), 2);
    two.Keep();
    {
      NameClaim three;
      ASSERT_FALSE(three.Claim(s, ""));
      EXPECT_EQ(three.Name(), "Run_003");
    }  // not kept: released
    EXPECT_FALSE(std::filesystem::exists(dir / "Run_003.zkd"));
    // Another copy wrote to the claimed name meanwhile: releasing never removes that.
    dir.Write("Run_001.zkd", "the other copy's records");
  }
  EXPECT_EQ(dir.Read("Run_001.zkd"), "the other copy's records");
  EXPECT_TRUE(std::filesystem::exists(dir / "Run_002.zkd"));
}

// A hand-edited save folder without its "/" still saves inside it; a prefix that would
// leave the folder is refused with the prefix message.
TEST_F(RecordingSaverTest, AutomaticPathsStayInTheSaveFolder) {
  s.RecordingMode = RecAutoSave;
  TempFolder parent;
  std::filesystem::create_directory(parent / "rec");
  s.SavePath = parent / "rec";
  rig.Sensor(20);
  Record(1);
  EXPECT_TRUE(std::filesystem::exists(parent / "rec/Run_001.zkd"));
  EXPECT_FALSE(std::filesystem::exists(parent / "recRun_001.zkd"));

  for (const char* prefix : {"../x", "..", "a/b"}) {
    s.SavePath = parent / "rec/";
    s.SavePrefix = prefix;
    rig.prompts.shown.clear();
    Record(1);
    ASSERT_FALSE(rig.prompts.shown.empty()) << prefix;  // first, maybe, the question about the last one
    EXPECT_EQ(rig.prompts.shown.back().text, "Error: Invalid Prefix name ") << prefix;
    EXPECT_EQ(rig.prompts.shown.back().title, "Validate Filename");
    EXPECT_TRUE(st.RecordingSaveFailed);
  }
  EXPECT_EQ(Entries(parent.str()), (std::vector<std::string>{"rec"}));
}

// Both save dialogs: a name typed without ".zkd" is written with it, so replacing that file
// is asked about here (the dialog asked about the name as typed).
TEST_F(RecordingSaverTest, ReplacingTheFileActuallyWrittenIsAskedAbout) {
  s.RecordingMode = RecManual;
  s.AudioEnable = false;
  dir.Write("Run_.zkd", "older records");
  rig.Sensor(20);
  Record(1);
  rig.prompts.files.push_back(dir / "Run_");  // Manual's default name, as offered
  rig.prompts.answers.push_back(MsgResult::No);
  rig.saver.cmdSave_Click();  // No: the dialog again, then cancelled
  ASSERT_EQ(rig.prompts.shown.size(), 1u);
  EXPECT_EQ(rig.prompts.shown[0].text, "Run_.zkd already exists.\nDo you want to replace it?");
  EXPECT_EQ(rig.prompts.shown[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(rig.prompts.fileRequests.size(), 2u);
  EXPECT_EQ(rig.prompts.fileRequests[1].fileName, dir / "Run_");
  EXPECT_EQ(dir.Read("Run_.zkd"), "older records");
  EXPECT_TRUE(st.RecordingUnsaved);

  rig.prompts.files.push_back(dir / "Run_");
  rig.saver.cmdSave_Click();  // Yes
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_NE(dir.Read("Run_.zkd"), "older records");

  // Save File As the same way; a name with ".zkd" was asked about by the dialog itself.
  dir.Write("copy.zkd", "older copy");
  rig.prompts.files.push_back(dir / "copy");
  rig.prompts.answers.push_back(MsgResult::No);
  rig.saver.lblLoadedFile_MouseDown(RightMouseButton);
  EXPECT_EQ(dir.Read("copy.zkd"), "older copy");
  const std::size_t asked = rig.prompts.shown.size();
  rig.prompts.files.push_back(dir / "copy.zkd");
  rig.saver.lblLoadedFile_MouseDown(RightMouseButton);
  EXPECT_EQ(rig.prompts.shown.size(), asked);
  EXPECT_NE(dir.Read("copy.zkd"), "older copy");
}

// The sound is in but the records cannot replace theirs: the older pair is left whole, not
// new sound beside old records, and no temporary file stays.
TEST_F(RecordingSaverTest, APairIsReplacedWholeOrNotAtAll) {
  s.RecordingMode = RecManual;
  dir.Write("take.wav", "older sound");
  std::filesystem::create_directory(dir / "take.zkd");  // the records' name cannot be replaced
  rig.Sensor(20);
  Record(1);
  rig.prompts.files.push_back(dir / "take.zkd");
  rig.prompts.answers.push_back(MsgResult::Yes);  // replace take.wav
  rig.saver.cmdSave_Click();
  ASSERT_EQ(rig.prompts.shown.size(), 2u);
  EXPECT_EQ(rig.prompts.shown[0].text, "take.wav already exists.\nDo you want to replace it?");
  EXPECT_NE(rig.prompts.shown[1].text.find(dir / "take.zkd"), std::string::npos);
  EXPECT_EQ(dir.Read("take.wav"), "older sound");
  EXPECT_EQ(Entries(dir.str()), (std::vector<std::string>{"take.wav", "take.zkd"}));
  EXPECT_TRUE(st.RecordingUnsaved);
}

// A copy of a recording just made carries its start time and date, as its saved file does.
TEST_F(RecordingSaverTest, ACopyOfANewRecordingKeepsItsHeaderRecords) {
  rig.Sensor(20);
  Record(1);
  rig.saver.cmdSave_Click();
  rig.prompts.files.push_back(dir / "copy.zkd");
  rig.saver.lblLoadedFile_MouseDown(RightMouseButton);
  RecordFileData saved, copy;
  ASSERT_EQ(ReadRecordFile(dir / "Run_001.zkd", saved).status, ReadStatus::Ok);
  ASSERT_EQ(ReadRecordFile(dir / "copy.zkd", copy).status, ReadStatus::Ok);
  EXPECT_EQ(copy.records[1].Marker, 'C');
  EXPECT_EQ(copy.records[2].Marker, 'D');
  EXPECT_EQ(copy.RecordStartSeconds, saved.RecordStartSeconds);
  EXPECT_EQ(copy.RecordStartDay, saved.RecordStartDay);
  EXPECT_EQ(test::ReadBytes(dir / "copy.zkd"), test::ReadBytes(dir / "Run_001.zkd"));
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
  // The sound is written beside it under a temporary name, and renamed with the records.
  EXPECT_EQ(t.audio.calls.back().rfind("save " + dir / ".a.wav.", 0), 0u) << t.audio.calls.back();
  EXPECT_TRUE(std::filesystem::exists(dir / "a.wav"));
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
  t.prompts.answers.push_back(MsgResult::Yes);  // replace a.wav
  saver.lblLoadedFile_MouseDown(RightMouseButton);
  ASSERT_EQ(t.prompts.shown.size(), 2u);
  t.prompts.shown.erase(t.prompts.shown.begin());
  EXPECT_EQ(t.prompts.shown[0].text.rfind("The file could not be saved for the following reason(s): \n4: '", 0), 0u)
      << t.prompts.shown[0].text;
  EXPECT_EQ(dir.Read("a.zkd"), "older records");
  EXPECT_EQ(dir.Read("a.wav"), "older sound");
}

}  // namespace
}  // namespace zk::test
