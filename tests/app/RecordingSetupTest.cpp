// The recording setup dialog's logic and the numbered series it resets.
#include "app/RecordingSetup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "Fakes.h"
#include "TestFiles.h"
#include "base/RecordingCodes.h"
#include "core/SettingsFile.h"

namespace zk::test {
namespace {

struct Setup : ::testing::Test {
  TestContext t;
  ControlTable dlg;  // the dialog's own controls
  RecordingSetup setup{t.ctx, dlg};
  TempFolder dir;
  Settings& s = t.settings;
  Setup() {
    s.SavePath = dir.str() + "/";
    s.SavePrefix = "Prefix_";
    s.SettingsFilePath = dir.str() + "/settings.ini";
  }
  std::set<std::string> Files() {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.str())) names.insert(e.path().filename().string());
    return names;
  }
  // The enabled/visible state of the controls the mode and suffix decide.
  std::string State() {
    std::string r;
    r += dlg.Enabled("optSuffixType", 0) ? "S" : "s";
    r += dlg.Enabled("optSuffixType", 1) ? "S" : "s";
    r += dlg.Enabled("chkRecPrompt") ? "P" : "p";
    r += dlg.Enabled("lblSuffixNum") ? "N" : "n";
    r += dlg.Enabled("cmdReset") ? "R" : "r";
    r += dlg.Visible("lblWarning") ? "W" : "w";
    return r;
  }
};

TEST_F(Setup, LoadFillsTheControlsFromTheSettings) {
  s.RecPromptEnable = false;
  s.TimeDateEnable = true;
  s.SuffixNum = 7;
  s.RecordingMode = RecAutoSave;
  s.SuffixType = 0;
  setup.Form_Load();
  EXPECT_EQ(dlg.Caption("lblSavePath"), s.SavePath);
  EXPECT_FALSE(dlg.Checked("chkRecPrompt"));
  EXPECT_TRUE(dlg.Checked("chkTimeDate"));
  EXPECT_EQ(dlg.Caption("txtPrefix"), "Prefix_");
  EXPECT_TRUE(dlg.Checked("optRecMode", RecAutoSave));
  EXPECT_TRUE(dlg.Checked("optSuffixType", 0));
  EXPECT_EQ(dlg.Caption("lblSuffixNum"), "007");
  EXPECT_EQ(dlg.Caption("lblWarning"), "Warning..Reset may delete files!");
  EXPECT_EQ(State(), "SSpNRW");
  EXPECT_FALSE(s.RecPromptEnable);  // loading wrote back what was there
}

TEST_F(Setup, EnablingFollowsTheModeAndTheSuffix) {
  struct Case {
    int mode, suffix, num;
    const char* state;
  } cases[] = {
      {RecManual, 0, 5, "ssPnrw"},    // Manual names nothing automatically
      {RecAutoName, 0, 5, "SSPNRW"},  // numeric suffix: counter, reset, warning
      {RecAutoName, 0, 1, "SSPNrW"},  // nothing to reset at 001, but the warning shows
      {RecAutoName, 1, 5, "SSPnrw"},  // date/time suffix: no counter
      {RecAutoSave, 0, 5, "SSpNRW"},  // Auto Save leaves nothing unsaved to warn about
      {RecCapture, 0, 5, "SSPNRW"},   // no button for it: named as the automatic modes
  };
  for (const Case& c : cases) {
    ControlTable fresh;
    RecordingSetup d(t.ctx, fresh);
    s.RecordingMode = c.mode;
    s.SuffixType = c.suffix;
    s.SuffixNum = static_cast<int16_t>(c.num);
    d.Form_Load();
    dlg = fresh;
    EXPECT_EQ(State(), c.state) << c.mode << "/" << c.suffix << "/" << c.num;
    EXPECT_EQ(s.RecordingMode, c.mode);
  }
}

TEST_F(Setup, ClicksChangeTheSettingsAtOnce) {
  s.RecordingMode = RecAutoName;
  s.SuffixType = 1;
  s.SuffixNum = 1;
  s.RecPromptEnable = true;
  setup.Form_Load();

  dlg.SetChecked("optSuffixType", 0, true);
  setup.optSuffixType_Click(0);
  EXPECT_EQ(s.SuffixType, 0);
  EXPECT_EQ(State(), "SSPNrW");

  setup.optRecMode_Click(RecAutoSave);
  EXPECT_EQ(s.RecordingMode, RecAutoSave);
  EXPECT_FALSE(dlg.Enabled("chkRecPrompt"));
  EXPECT_TRUE(s.RecPromptEnable);  // disabled, not changed

  setup.optRecMode_Click(RecManual);
  EXPECT_EQ(State(), "ssPnrw");

  dlg.SetChecked("chkTimeDate", false);
  setup.chkTimeDate_Click();
  EXPECT_FALSE(s.TimeDateEnable);
  dlg.SetChecked("chkRecPrompt", false);
  setup.chkRecPrompt_Click();
  EXPECT_FALSE(s.RecPromptEnable);
}

// A new prefix starts its series at 001 and deletes nothing, even where recordings of
// that prefix exist (they may be another running copy's).
TEST_F(Setup, NewPrefixStartsANewSeriesAndDeletesNothing) {
  for (const char* f : {"Run_001.zkd", "Run_001.wav", "Run_017.zkd"}) dir.Write(f, "x");
  s.SuffixNum = 9;
  setup.Form_Load();
  dlg.SetCaption("txtPrefix", "Run_");
  setup.txtPrefix_Validate();
  EXPECT_EQ(s.SavePrefix, "Run_");
  EXPECT_EQ(s.SuffixNum, 1);
  EXPECT_EQ(dlg.Caption("lblSuffixNum"), "001");
  EXPECT_EQ(Files(), (std::set<std::string>{"Run_001.zkd", "Run_001.wav", "Run_017.zkd", "settings.ini"}));
  EXPECT_TRUE(t.prompts.shown.empty());
  EXPECT_NE(dir.Read("settings.ini").find("SuffixNum=1"), std::string::npos);
}

// Reset deletes the series' numbered files only after a question that says how many
// recordings go (a notes file is no recording); No changes nothing. Afterwards the settings file holds 001, so the next
// save does not adopt the number stored before the reset.
TEST_F(Setup, ResetAsksHowManyRecordingsItDeletesAndWritesTheNumber) {
  for (const char* f :
       {"Run_001.zkd", "Run_001.wav", "Run_017.zkd", "Run_Mon.zkd", "Run_Mon.wav", "Run_0012.zkd", "Run_01a.zkd",
        "Prefix_001.zkd", "Run_002.txt", "Run_001.notes", "Run_017.notes", "Run_003.notes", "Run_Mon.notes"})
    dir.Write(f, "x");
  s.SavePrefix = "Run_";
  s.SuffixNum = 4;
  Save_Recording_Key(t.ctx, "SuffixNum");
  setup.Form_Load();
  const auto before = Files();

  t.prompts.answers = {MsgResult::No};
  setup.cmdReset_Click();
  ASSERT_EQ(t.prompts.shown.size(), 1u);
  EXPECT_EQ(t.prompts.shown[0].text,
            "Reset deletes 2 recordings of the series Run_001, Run_002 ... (.zkd and .wav) in " + s.SavePath +
                ". Delete them?");
  EXPECT_EQ(Files(), before);
  EXPECT_EQ(s.SuffixNum, 4);

  t.prompts.answers = {MsgResult::Yes};
  setup.cmdReset_Click();
  // The notes of the recordings deleted go with them; notes without a recording stay.
  EXPECT_EQ(Files(),
            (std::set<std::string>{"Run_Mon.zkd", "Run_Mon.wav", "Run_0012.zkd", "Run_01a.zkd", "Prefix_001.zkd",
                                   "Run_002.txt", "settings.ini", "Run_003.notes", "Run_Mon.notes"}));
  EXPECT_EQ(s.SuffixNum, 1);
  EXPECT_EQ(dlg.Caption("lblSuffixNum"), "001");
  s.SuffixNum = 2;  // the first recording after the reset was saved as 001
  Save_Next_Series_Number(t.ctx);
  EXPECT_EQ(s.SuffixNum, 2);

  setup.cmdReset_Click();  // nothing left to delete: no question
  EXPECT_EQ(t.prompts.shown.size(), 2u);
}

// What the dialog changes is in the settings file at once: a crash before the exit keeps
// it, and a recovered recording is saved under it.
TEST_F(Setup, EveryChangeIsWrittenAtOnce) {
  s.RecordingMode = RecAutoName;
  setup.Form_Load();
  EXPECT_FALSE(std::filesystem::exists(dir / "settings.ini"));  // opening writes nothing
  setup.optRecMode_Click(RecAutoSave);
  dlg.SetCaption("txtPrefix", "Take_");
  setup.txtPrefix_Validate();
  dlg.SetChecked("chkTimeDate", false);
  setup.chkTimeDate_Click();
  const std::string text = dir.Read("settings.ini");
  for (const char* line : {"RecordingMode=3", "SavePrefix=Take_", "TimeDateEnable=False"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST_F(Setup, PrefixThatCannotBeAFileNameIsRefusedAndPutBack) {
  dir.Write("Prefix_003.zkd", "kept");
  setup.Form_Load();
  for (const std::string& bad : {std::string("a/b"), std::string("tab\there"), std::string(260, 'x')}) {
    dlg.SetCaption("txtPrefix", bad);
    setup.txtPrefix_Validate();
    EXPECT_EQ(dlg.Caption("txtPrefix"), "Prefix_");
    EXPECT_EQ(s.SavePrefix, "Prefix_");
  }
  ASSERT_EQ(t.prompts.shown.size(), 3u);
  EXPECT_EQ(t.prompts.shown[0].text, "Error: Invalid Prefix name ");
  EXPECT_EQ(t.prompts.shown[0].title, "Validate Filename");
  EXPECT_EQ(t.prompts.shown[0].icon, MsgIcon::Critical);
  EXPECT_EQ(dir.Read("Prefix_003.zkd"), "kept");  // refused before anything was deleted
}

TEST_F(Setup, ValidationLeavesNoTrialFileAndNeverTouchesAnExistingOne) {
  EXPECT_TRUE(setup.Validate_Prefix("Take_"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Take_000.zkd"));
  dir.Write("Old_000.zkd", "a recording");
  EXPECT_TRUE(setup.Validate_Prefix("Old_"));
  EXPECT_EQ(dir.Read("Old_000.zkd"), "a recording");
  s.SavePath = dir.str() + "/missing/";  // a folder problem is not a bad name
  EXPECT_TRUE(setup.Validate_Prefix("Take_"));
}

TEST_F(Setup, BrowseTakesTheFolderOfTheConfirmedName) {
  setup.Form_Load();
  setup.cmdBrowseSaveFolder_Click();  // cancelled
  EXPECT_EQ(s.SavePath, dir.str() + "/");
  ASSERT_EQ(t.prompts.fileRequests.size(), 1u);
  EXPECT_EQ(t.prompts.fileRequests[0].title, "Select Save Folder");
  EXPECT_EQ(t.prompts.fileRequests[0].fileName, "Date-Time");

  t.prompts.files.push_back("/media/usb/sessions/Date-Time");
  setup.cmdBrowseSaveFolder_Click();
  EXPECT_EQ(s.SavePath, "/media/usb/sessions/");
  EXPECT_EQ(dlg.Caption("lblSavePath"), "/media/usb/sessions/");
}

TEST(DeleteSeries, WithoutAFolderDeletesNothing) {
  // No folder: nothing, and never the working directory's files.
  TempFolder cwd;
  cwd.Write("Run_001.zkd", "x");
  // The working directory may already be gone (a test before this one removed its own);
  // then the system's temporary folder is where the run goes on.
  std::error_code gone;
  auto old = std::filesystem::current_path(gone);
  if (gone) old = std::filesystem::temp_directory_path();
  std::filesystem::current_path(cwd.str());
  EXPECT_TRUE(Series_Files("", "Run_").empty());
  Delete_Series("", "Run_");
  std::filesystem::current_path(old);
  EXPECT_TRUE(std::filesystem::exists(cwd / "Run_001.zkd"));
}

}  // namespace
}  // namespace zk::test
