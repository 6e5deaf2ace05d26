#include "app/FileMenuSettings.h"

#include <gtest/gtest.h>

#include "SettingsFixture.h"
#include "base/IniFile.h"
#include "core/SettingsFile.h"

namespace zk {
namespace {

using test::ReadText;
using test::TempFolder;
using test::WriteText;

using SettingsCommandsTest = test::SettingsFixture;

TEST_F(SettingsCommandsTest, CancelledLoadChangesNothing) {
  WriteText(ini, "[Colors]\nDial_Color=5\n");
  s.Dial_Color = 77;  // changed in memory, not saved
  mnuLoadSettings_Click(t.ctx);
  ASSERT_EQ(t.prompts.fileRequests.size(), 1u);
  const FileDialogRequest& r = t.prompts.fileRequests[0];
  EXPECT_EQ(r.title, "Load Settings File");
  EXPECT_EQ(r.filter, "ini file (*.ini)|*.ini");
  EXPECT_EQ(r.fileName, ini);
  EXPECT_EQ(s.Dial_Color, 77);
  EXPECT_EQ(s.SettingsFilePath, ini);
  EXPECT_EQ(t.shell.applyMenus, 0);
  EXPECT_EQ(t.shell.resizes, 0);
}

TEST_F(SettingsCommandsTest, LoadTakesTheChosenFileAndAppliesIt) {
  const std::string other = tmp.File("other.ini");
  WriteText(other, "[Colors]\nDial_Color=5\n[Format]\nGraphVisible=True\n");
  t.prompts.files.push_back(other);
  mnuLoadSettings_Click(t.ctx);
  EXPECT_EQ(s.SettingsFilePath, other);
  EXPECT_EQ(s.Dial_Color, 5);
  EXPECT_TRUE(s.GraphVisible);
  EXPECT_EQ(t.shell.applyMenus, 1);
  EXPECT_EQ(t.shell.resizes, 1);
}

TEST_F(SettingsCommandsTest, SaveWritesOnlyTheFourSections) {
  s.Dial_Color = 9;
  mnuSaveSettings_Click(t.ctx);
  auto doc = IniDocument::Load(ini);
  EXPECT_EQ(doc.Get("Colors", "Dial_Color"), "9");
  EXPECT_FALSE(doc.Get("Recording", "SavePrefix"));
  EXPECT_TRUE(t.prompts.fileRequests.empty());
}

TEST_F(SettingsCommandsTest, SaveAsReplacesAnExistingFile) {
  const std::string target = tmp.File("mine.ini");
  WriteText(target, "[Recording]\nSavePath=/old\n[Colors]\nOld_Key=1\n");
  t.prompts.files.push_back(target);
  s.Dial_Color = 3;
  mnuSaveSettingsAs_Click(t.ctx);
  ASSERT_EQ(t.prompts.fileRequests.size(), 1u);
  const FileDialogRequest& r = t.prompts.fileRequests[0];
  EXPECT_EQ(r.title, "Save Settings As");
  EXPECT_EQ(r.filter, "ini file (*.ini)|*.ini");
  EXPECT_EQ(r.flags, 1026);
  EXPECT_EQ(r.fileName, ini);
  EXPECT_EQ(s.SettingsFilePath, target);
  auto doc = IniDocument::Load(target);
  EXPECT_EQ(doc.Get("Colors", "Dial_Color"), "3");
  EXPECT_FALSE(doc.Get("Colors", "Old_Key"));
  EXPECT_FALSE(doc.Get("Recording", "SavePath"));
  EXPECT_EQ(ReadText(target).rfind("[Colors]\r\nDial_Color=3\r\n", 0), 0u);
}

TEST_F(SettingsCommandsTest, CancelledSaveAsChangesNothing) {
  mnuSaveSettingsAs_Click(t.ctx);
  EXPECT_EQ(s.SettingsFilePath, ini);
  EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(SettingsCommandsTest, NamesWithADoubleQuoteAreRefusedWithAMessage) {
  // The session file could not carry such a name: it would silently become the default.
  const std::string quoted = tmp.File("my \"best\".ini");
  WriteText(quoted, "[Colors]\nDial_Color=5\n");
  s.Dial_Color = 77;
  t.prompts.files.push_back(quoted);
  mnuLoadSettings_Click(t.ctx);
  t.prompts.files.push_back(quoted);
  mnuSaveSettingsAs_Click(t.ctx);
  EXPECT_EQ(s.SettingsFilePath, ini);
  EXPECT_EQ(s.Dial_Color, 77);
  EXPECT_EQ(t.shell.applyMenus, 0);
  EXPECT_EQ(ReadText(quoted), "[Colors]\nDial_Color=5\n");
  ASSERT_EQ(t.prompts.shown.size(), 2u);
  EXPECT_EQ(t.prompts.shown[0].text, QuoteInSettingsPathText);
  EXPECT_EQ(t.prompts.shown[0].title, "Load Settings File");
  EXPECT_EQ(t.prompts.shown[1].title, "Save Settings As");
}

}  // namespace
}  // namespace zk
