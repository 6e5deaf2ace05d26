// The save dialogs' question before replacing files: a save with sound writes the .wav
// too, so a .wav of that name alone is asked about as well.
#include <gtest/gtest.h>

#include "SessionRig.h"
#include "TestFiles.h"
#include "base/RecordingCodes.h"
#include "recording/RecordingSaver.h"

namespace zk::test {
namespace {

struct OverwriteQuestion : LiveRecording {
  void SetUp() override {
    s.RecordingMode = RecManual;
    s.AudioEnable = true;
    rig.Sensor(20);
    Record(1);
  }
};

TEST_F(OverwriteQuestion, ALoneSoundTrackIsAskedAboutAndKeptOnNo) {
  dir.Write("take.wav", "older sound");
  rig.prompts.files.push_back(dir / "take.zkd");  // the dialog asked about take.zkd only
  rig.prompts.answers.push_back(MsgResult::No);
  rig.saver.cmdSave_Click();  // No: the dialog again, then cancelled
  ASSERT_EQ(rig.prompts.shown.size(), 1u);
  EXPECT_EQ(rig.prompts.shown[0].text, "take.wav already exists.\nDo you want to replace it?");
  EXPECT_EQ(dir.Read("take.wav"), "older sound");
  EXPECT_FALSE(std::filesystem::exists(dir / "take.zkd"));
  EXPECT_TRUE(st.RecordingUnsaved);
}

TEST_F(OverwriteQuestion, BothFilesAreNamedInOneQuestionAndYesReplacesThem) {
  dir.Write("take.wav", "older sound");
  dir.Write("take.zkd", "older records");
  rig.prompts.files.push_back(dir / "take");  // no extension: the dialog asked about neither
  rig.prompts.answers.push_back(MsgResult::Yes);
  rig.saver.cmdSave_Click();
  ASSERT_EQ(rig.prompts.shown.size(), 1u);
  EXPECT_EQ(rig.prompts.shown[0].text, "take.zkd and take.wav already exist.\nDo you want to replace them?");
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_NE(dir.Read("take.wav"), "older sound");
}

TEST_F(OverwriteQuestion, WithoutSoundALoneSoundTrackIsNotTheSavesConcern) {
  s.AudioEnable = false;
  dir.Write("take.wav", "older sound");
  rig.prompts.files.push_back(dir / "take.zkd");
  rig.saver.cmdSave_Click();
  EXPECT_TRUE(rig.prompts.shown.empty());
  EXPECT_FALSE(st.RecordingUnsaved);
  EXPECT_EQ(dir.Read("take.wav"), "older sound");
}

}  // namespace
}  // namespace zk::test
