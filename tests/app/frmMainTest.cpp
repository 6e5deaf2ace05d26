#include "app/frmMain.h"

#include <gtest/gtest.h>
#include <QScreen>
#include <QStandardPaths>

#include "Fakes.h"
#include "PairSaves.h"
#include "QtTestApp.h"
#include "TempFiles.h"
#include "TestFiles.h"
#include "app/MenuTree.h"
#include "app/RecordPanel.h"
#include "app/frmAbout.h"
#include "core/SessionFile.h"
#include "sound/AudioFactory.h"
#include "zkd/RecordFile.h"

namespace zk {
namespace {

struct frmMainTest : ::testing::Test {
  void SetUp() override { test::TestApp(); }
  std::unique_ptr<frmMain> Make(const std::string& recording = "") {
    StartOptions o;
    o.programFolder = home.str();
    o.recording = recording;
    o.prompts = &prompts;
    o.audio = MakeNullAudioDevice(clock);
    auto f = std::make_unique<frmMain>(std::move(o));
    f->controls().onUnknown = [](std::string_view name, int index) {
      ADD_FAILURE() << "the window has no control " << name << " (" << index << ")";
    };
    return f;
  }
  std::unique_ptr<frmMain> Loaded() {
    auto f = Make();
    f->Form_Load();
    return f;
  }
  std::vector<std::string> SessionLines() {
    std::vector<std::string> lines;
    std::string text = home.Read(SessionFileName), line;
    for (char ch : text) {
      if (ch == '\n') {
        lines.push_back(line);
        line.clear();
      } else if (ch != '\r') {
        line += ch;
      }
    }
    return lines;
  }
  test::TempFolder home;
  test::ScriptedPrompts prompts;
  SystemClock clock;
};

TEST_F(frmMainTest, SilentTrackComesFromTheHomeFolderOrFromBesideTheProgram) {
  const std::string beside = QCoreApplication::applicationDirPath().toStdString() + "/dummy.mp3";
  EXPECT_EQ(Loaded()->ctx().state.DummyAudioPath, beside);
  home.Write("dummy.mp3", "x");
  EXPECT_EQ(Loaded()->ctx().state.DummyAudioPath, home.File("dummy.mp3"));
}

TEST_F(frmMainTest, FirstStartRunsInDemonstrationModeAndWritesTheSessionFileAtOnce) {
  auto f = Loaded();
  const auto lines = SessionLines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "\"" + home.File("zk3_Zodovaz.ini") + "\"");
  EXPECT_EQ(lines[1], "2");
  EXPECT_EQ(lines[2], "0");
  EXPECT_EQ(lines[3], "8");
  auto& st = f->ctx().state;
  EXPECT_EQ(st.OperatingMode, ModeNone);
  EXPECT_EQ(st.StatusText, "Demo Mode");
  EXPECT_TRUE(st.ResetPending && st.NeedleSetRequest);
  EXPECT_FALSE(std::filesystem::exists(home.File("zk3_Zodovaz.ini")));
  EXPECT_TRUE(prompts.shown.empty());

  // The session defaults place the window: a quarter of the screen in, half the screen wide.
  const int screenW = f->screen()->geometry().width();
  EXPECT_EQ(f->x(), screenW / 4);
  EXPECT_EQ(f->y(), 0);
}

TEST_F(frmMainTest, MenusAndButtonsTakeTheSettingsAtStartUp) {
  auto f = Loaded();
  QtControls& c = f->controls();
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(c.Checked("mnuSettingsNeedleWidth", i), i == 4) << i;
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(c.Checked("mnuSetColNeedleShadow_Index", i), i == 1) << i;
  EXPECT_TRUE(c.Checked("mnuSettingsAutoSavePrompt"));
  EXPECT_TRUE(c.Checked("mnuSetBmFreezeOff"));
  EXPECT_TRUE(c.Checked("mnuSetNeedleBDOff"));
  EXPECT_TRUE(c.Checked("mnuViewRecording"));
  EXPECT_TRUE(c.Enabled("mnuRecording"));
  EXPECT_TRUE(c.Checked("mnuRecAudioOn"));
  EXPECT_FALSE(c.Checked("mnuViewGraph"));
  EXPECT_FALSE(c.Checked("mnuGraphGridX"));  // the settings say no grid
  EXPECT_EQ(c.Picture("cmdLoop"), "Single");
  EXPECT_EQ(c.Picture("cmdRecord"), "Record");
  EXPECT_EQ(c.ToolTip("cmdLoad"), "Open");
  // Demonstration mode: no recording, loading offered.
  EXPECT_FALSE(c.Visible("cmdRecord"));
  EXPECT_FALSE(c.Visible("lblRecordMode"));
  EXPECT_TRUE(c.Visible("cmdLoad"));
  EXPECT_FALSE(c.Enabled("cmdStop"));
}

TEST_F(frmMainTest, ValuesBeyondTheMenusTickNothing) {
  auto f = Loaded();
  Settings& s = f->ctx().settings;
  s.Needle_Width = 12;
  s.SettingsAutoSave = 5;
  f->Apply_Settings_To_Menus();
  for (int i = 0; i <= 8; ++i) EXPECT_FALSE(f->controls().Checked("mnuSettingsNeedleWidth", i));
  for (const char* n : {"mnuSettingsAutoSaveOn", "mnuSettingsAutoSavePrompt", "mnuSettingsAutoSaveOff"})
    EXPECT_FALSE(f->controls().Checked(n));
}

// An unsaved recording held in memory, as a stop leaves it.
void HoldUnsavedRecording(frmMain& f) {
  auto& st = f.ctx().state;
  st.RecordBuffer.assign(101, SampleRecord{});
  st.RecordCount = 100;
  st.RecordingUnsaved = true;
  st.FileLoaded = true;
}

TEST_F(frmMainTest, HidingTheRecordPanelAsksBeforeItDropsAnUnsavedRecording) {
  auto f = Loaded();
  auto& st = f->ctx().state;
  HoldUnsavedRecording(*f);
  prompts.answers = {MsgResult::No};
  f->Choose("mnuViewRecording");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Previous recording not saved, Continue?");
  EXPECT_TRUE(f->ctx().settings.RecordVisible);  // No: panel and recording stay
  EXPECT_FALSE(f->recordPanel().isHidden());
  EXPECT_TRUE(st.RecordingUnsaved && st.FileLoaded);
  EXPECT_EQ(st.RecordCount, 100);

  f->Choose("mnuViewRecording");  // Yes
  EXPECT_FALSE(f->ctx().settings.RecordVisible);
  EXPECT_FALSE(st.RecordingUnsaved || st.FileLoaded);
  EXPECT_TRUE(f->recordPanel().isHidden());
  EXPECT_FALSE(f->controls().Enabled("mnuRecording"));
  EXPECT_FALSE(f->controls().Checked("mnuViewRecording"));
  EXPECT_EQ(f->controls().Caption("lblLoadedFile"), "No File Loaded");
  f->Choose("mnuViewRecording");
  EXPECT_FALSE(f->recordPanel().isHidden());
  EXPECT_TRUE(f->controls().Enabled("mnuRecording"));
  EXPECT_EQ(prompts.shown.size(), 2u);  // showing asks nothing
}

TEST_F(frmMainTest, ShowingTheRecordPanelGivesAnEmptySaveFolderTheDocumentsFolder) {
  auto f = Loaded();
  Settings& s = f->ctx().settings;
  if (s.RecordVisible) f->Choose("mnuViewRecording");
  s.SavePath.clear();
  const std::string docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  std::filesystem::remove_all(docs);
  f->Choose("mnuViewRecording");
  EXPECT_EQ(s.SavePath, docs + "/");
  EXPECT_TRUE(std::filesystem::is_directory(docs));
  EXPECT_NE(s.SavePath.rfind(home.str(), 0), 0u);  // not the program folder
}

// Another settings file lays the record panel out afresh; the recording in memory stays,
// unsaved, with nothing asked. While a recording runs, the command waits for its stop.
TEST_F(frmMainTest, LoadingASettingsFileKeepsTheRecordingInMemory) {
  auto f = Loaded();
  auto& st = f->ctx().state;
  home.Write("other.ini", "[Recording]\r\nAudioEnable=False\r\n");
  HoldUnsavedRecording(*f);
  prompts.files = {home.File("other.ini")};
  f->Choose("mnuLoadSettings");
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(f->ctx().settings.SettingsFilePath, home.File("other.ini"));
  EXPECT_FALSE(f->ctx().settings.AudioEnable);
  EXPECT_TRUE(st.RecordingUnsaved && st.FileLoaded);
  EXPECT_EQ(st.RecordCount, 100);

  st.OperatingMode = ModeRecording;
  prompts.files = {home.File("zk3_Zodovaz.ini")};
  f->Choose("mnuLoadSettings");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Recording in progress. Stop the recording first.");
  EXPECT_TRUE(prompts.fileRequests.size() == 1u);  // no dialog the second time
  EXPECT_EQ(f->ctx().settings.SettingsFilePath, home.File("other.ini"));
}

TEST_F(frmMainTest, TheWindowComingBackFromADialogReArmsTheKeys) {
  auto f = Loaded();
  f->keyboard().SetKeyReleased(false);  // the key that opened the dialog was released there
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(f.get(), &activate);
  EXPECT_TRUE(f->keyboard().KeyReleased());
}

TEST_F(frmMainTest, OverrideBoxPutsBackTheUsersValues) {
  auto f = Loaded();
  auto& st = f->ctx().state;
  auto& s = f->ctx().settings;
  st.SavedSensitivityIndex = 21;
  st.SavedDialType = 3;
  st.SavedBdTotal = 40;
  f->recordPanel().chkOveride->click();  // ticks it
  EXPECT_TRUE(st.PlaybackOverride);
  EXPECT_EQ(s.SensitivityIndex, 21);
  EXPECT_EQ(s.DialType, 3);
  EXPECT_EQ(st.BdTotal, 40);
  EXPECT_TRUE(f->controls().Enabled("mnuSettingsBmFreeze"));
  st.ResetPending = false;
  f->recordPanel().chkOveride->click();  // clears it
  EXPECT_FALSE(st.PlaybackOverride);
  EXPECT_TRUE(st.ResetPending);
  EXPECT_FALSE(f->controls().Enabled("mnuSettingsBmFreeze"));
}

TEST_F(frmMainTest, ARecordingNamedAtStartUpOpensReadyToPlay) {
  const std::vector<SampleRecord> records = test::Readings(300);
  ASSERT_FALSE(WriteRecordFile(home.File("take007.zkd"), records, 300, std::nullopt));
  // Sound off: the recording plays against the silent track.
  home.Write("zk3_Zodovaz.ini", "[Recording]\r\nAudioEnable=False\r\n");
  auto f = Make(home.File("take007.zkd"));
  f->Form_Load();
  EXPECT_TRUE(prompts.shown.empty()) << prompts.shown.front().text;
  EXPECT_TRUE(f->ctx().state.FileLoaded);
  EXPECT_EQ(f->ctx().state.RecordCount, 300);
  EXPECT_EQ(f->controls().Caption("lblLoadedFile"), "take007");
  EXPECT_TRUE(f->controls().Enabled("cmdPlay"));

  // A file that does not load is reported and the program goes on without it.
  auto g = Make(home.File("missing.zkd"));
  g->Form_Load();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, home.File("missing.zkd"));
  EXPECT_EQ(prompts.shown[0].title, "File Not Found");
  EXPECT_FALSE(g->ctx().state.FileLoaded);
  EXPECT_FALSE(g->controls().Enabled("cmdPlay"));
}

// A crash between the two renames of a save over an existing pair, in the save folder and
// in the load folder (a Save As elsewhere): the next start puts the new pair in place
// whole, and nothing of the save is left beside it.
TEST_F(frmMainTest, TheStartCompletesAPairACrashLeftHalfReplaced) {
  const std::string rec = home.File("rec"), other = home.File("other");
  for (const std::string& folder : {rec, other}) {
    std::filesystem::create_directory(folder);
    test::WriteText(folder + "/Run_001.wav", "old wav");
    test::WriteText(folder + "/Run_001.zkd", "old zkd");
    test::SavePair(folder + "/Run_001", true);
    ASSERT_EQ(test::ReadText(folder + "/Run_001.zkd"), "old zkd");
  }
  home.Write("zk3_Zodovaz.ini",
             "[Recording]\r\nSavePath=" + rec + "/\r\nLoadPath=" + other + "/\r\nAudioEnable=False\r\n");
  Loaded();
  for (const std::string& folder : {rec, other}) {
    EXPECT_EQ(test::ReadText(folder + "/Run_001.wav"), "new wav") << folder;
    EXPECT_EQ(test::ReadText(folder + "/Run_001.zkd"), "new zkd") << folder;
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) files += e.is_regular_file();
    EXPECT_EQ(files, 2) << folder;
  }
}

TEST_F(frmMainTest, MaximisedWindowStoresItsNormalGeometryAndTheNextStartKeepsTheSession) {
  auto f = Loaded();
  f->setGeometry(120, 40, 700, 500);
  f->showMaximized();
  QApplication::processEvents();
  const WindowPlacement p = f->CurrentPlacement();
  EXPECT_EQ(p.state, 2);
  EXPECT_EQ(p.width, 700 * 15);
  EXPECT_EQ(p.left, 120 * 15);

  f->ctx().settings.SensitivityIndex = 30;
  bool cancel = true;
  f->Form_QueryUnload(cancel);
  EXPECT_FALSE(cancel);
  f.reset();
  auto g = Make();
  EXPECT_TRUE(Read_Session_File(g->ctx(), 1024 * 15));
  EXPECT_EQ(g->ctx().settings.SensitivityIndex, 30);
  EXPECT_EQ(g->ctx().settings.WindowState, 2);
}

TEST_F(frmMainTest, PlacementBeyondSixteenBitsIsHeldInRange) {
  auto f = Loaded();
  f->setGeometry(-3000, 2500, 2300, 400);
  const WindowPlacement p = f->CurrentPlacement();
  EXPECT_EQ(p.left, -32768);
  EXPECT_EQ(p.top, 32767);
  EXPECT_EQ(p.width, 32767);
}

TEST_F(frmMainTest, ExitWithAutosaveOnSavesTheSettingsAndTheRecordingSection) {
  auto f = Loaded();
  f->Choose("mnuSettingsAutoSaveOn");
  f->ctx().settings.SensitivityIndex = 12;
  bool cancel = true;
  f->Form_QueryUnload(cancel);
  EXPECT_FALSE(cancel);
  const std::string ini = home.Read("zk3_Zodovaz.ini");
  EXPECT_NE(ini.find("[Colors]"), std::string::npos);
  EXPECT_NE(ini.find("[Recording]"), std::string::npos);
  const auto lines = SessionLines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[1], "1");
  EXPECT_EQ(lines[3], "12");
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(frmMainTest, ExitWithAutosaveOffWritesOnlyTheRecordingSection) {
  auto f = Loaded();
  f->Choose("mnuSettingsAutoSaveOff");
  f->ctx().settings.Dial_Color = 5;
  bool cancel = true;
  f->Form_QueryUnload(cancel);
  const std::string ini = home.Read("zk3_Zodovaz.ini");
  EXPECT_EQ(ini.find("[Colors]"), std::string::npos);
  EXPECT_NE(ini.find("[Recording]"), std::string::npos);
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(frmMainTest, ExitWithChangedSettingsAsksWhenPrompting) {
  auto f = Loaded();
  f->ctx().settings.Dial_Color = 5;
  prompts.answers = {MsgResult::Yes};
  bool cancel = true;
  f->Form_QueryUnload(cancel);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].title, "Program settings have changed");
  EXPECT_EQ(prompts.shown[0].text, "Save settings?\r\n\r\n( to " + home.File("zk3_Zodovaz.ini") + ")");
  EXPECT_NE(home.Read("zk3_Zodovaz.ini").find("Dial_Color=5"), std::string::npos);
}

TEST_F(frmMainTest, RefusingToLoseAnUnsavedRecordingKeepsTheProgramAndWritesNothing) {
  auto f = Loaded();
  std::filesystem::remove(home.File(SessionFileName));
  f->ctx().state.RecordingUnsaved = true;
  prompts.answers = {MsgResult::No};
  bool cancel = false;
  f->Form_QueryUnload(cancel);
  EXPECT_TRUE(cancel);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Recording not saved, Exit?");
  EXPECT_FALSE(std::filesystem::exists(home.File(SessionFileName)));

  f->ctx().settings.RecPromptEnable = false;
  f->ctx().state.RecordingSaveFailed = true;  // a failed automatic save is asked about even so
  prompts.answers = {MsgResult::No};
  f->Form_QueryUnload(cancel);
  EXPECT_TRUE(cancel);
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].text, "Recording not saved, Exit?");
  EXPECT_FALSE(std::filesystem::exists(home.File(SessionFileName)));

  f->ctx().state.RecordingSaveFailed = false;
  prompts.answers = {MsgResult::No};  // not asked: nothing to answer No to
  cancel = false;
  f->Form_QueryUnload(cancel);
  EXPECT_FALSE(cancel);
  EXPECT_TRUE(std::filesystem::exists(home.File(SessionFileName)));
}

TEST_F(frmMainTest, EveryMenuItemWithACommandHasAHandler) {
  auto f = Make();
  const auto& spec = MainMenuSpec();
  int leaves = 0;
  for (size_t i = 0; i < spec.size(); ++i) {
    const bool leaf = i + 1 == spec.size() || spec[i + 1].level <= spec[i].level;
    if (!leaf || spec[i].caption == "-") continue;
    ++leaves;
    EXPECT_EQ(f->commands().Has(spec[i].name), spec[i].command) << spec[i].name;
  }
  EXPECT_GT(leaves, 60);
}

TEST_F(frmMainTest, ATerminationSignalClosesWithoutQuestions) {
  auto f = Loaded();
  f->show();
  f->ctx().settings.Dial_Color = 5;  // changed: autosave Prompt would ask
  f->ctx().settings.SensitivityIndex = 17;
  f->ctx().state.RecordingUnsaved = true;
  std::filesystem::remove(home.File(SessionFileName));
  f->CloseWithoutQuestions();
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(SessionLines().at(3), "17");
  const std::string ini = home.Read("zk3_Zodovaz.ini");
  EXPECT_NE(ini.find("[Recording]"), std::string::npos);
  EXPECT_EQ(ini.find("Dial_Color"), std::string::npos);  // only autosave On saves them
  EXPECT_TRUE(f->ctx().state.RecordingUnsaved);          // left for recovery, not flushed
}

TEST_F(frmMainTest, SessionValuesNoScreenOrKnobCanShowStillStart) {
  home.Write(SessionFileName, "\"/x.ini\"\r\n2\r\n0\r\n999\r\n600\r\n0\r\n9000\r\n0\r\n");
  auto f = Loaded();  // a knob step beyond 63 used to throw from the first drawing
  EXPECT_EQ(f->ctx().settings.SensitivityIndex, 8);
  EXPECT_EQ(SessionLines().at(3), "8");  // the file is written again at once

  home.Write(SessionFileName, "\"/x.ini\"\r\n2\r\n0\r\n8\r\n-30000\r\n-30000\r\n9000\r\n0\r\n");
  auto g = Loaded();
  const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(avail.contains(g->pos())) << g->x() << "," << g->y();
  EXPECT_EQ(g->ctx().settings.WindowLeft, -30000);  // the stored value as read
}

// On the test platform's small screen a window as wide as the screen is too tall in most
// views: in every view, after each change of it, the whole window lies inside the work area
// and the record panel is on it; a window put too low or left of the screen comes back.
TEST_F(frmMainTest, TheWindowFitsTheWorkAreaInEveryView) {
  auto f = Loaded();
  f->show();
  QApplication::processEvents();
  const QRect avail = f->screen()->availableGeometry();
  auto* record = f->findChild<RecordPanel*>();
  ASSERT_NE(record, nullptr);
  auto expectInside = [&](const std::string& view) {
    EXPECT_TRUE(avail.contains(f->frameGeometry()))
        << view << ": " << f->x() << "," << f->y() << " " << f->width() << "x" << f->height();
    if (record->isVisibleTo(f.get())) {
      const QRect shown(record->mapToGlobal(QPoint(0, 0)), record->size());
      EXPECT_TRUE(avail.contains(shown)) << view;
    }
    EXPECT_GE(f->width(), f->ctx().settings.RecordVisible ? 550 : 325) << view;
  };
  for (int graph = 0; graph < 2; ++graph) {
    for (int fifths = 1; fifths <= 5; fifths += 2) {
      for (int rec = 0; rec < 2; ++rec) {
        const std::string view = std::to_string(graph) + "/" + std::to_string(fifths) + "/" + std::to_string(rec);
        f->Choose("mnuGraphHeightIndex", fifths);
        if (f->ctx().settings.GraphVisible != (graph == 1)) f->Choose("mnuViewGraph");
        if (f->ctx().settings.RecordVisible != (rec == 1)) f->Choose("mnuViewRecording");
        expectInside(view);
        f->setGeometry(avail.left() - 40, avail.top() + avail.height() / 2, avail.width(), 200);
        QApplication::processEvents();
        expectInside(view + " resized");
      }
    }
  }
}

// A work area beside a panel at the top and on the left, on a second screen.
TEST(InsideWorkArea, MovesAWindowInButNeverPastTheTopLeft) {
  const QRect work(1920 + 60, 30, 1600, 1170);
  EXPECT_EQ(InsideWorkArea(QRect(2100, 100, 800, 600), work), QPoint(2100, 100));  // inside: stays
  EXPECT_EQ(InsideWorkArea(QRect(3300, 900, 800, 600), work), QPoint(1980 + 1600 - 800, 30 + 1170 - 600));
  EXPECT_EQ(InsideWorkArea(QRect(1000, -50, 800, 600), work), QPoint(1980, 30));
  // Larger than the work area: its left and top edges stay on the work area's.
  EXPECT_EQ(InsideWorkArea(QRect(2500, 400, 1700, 1300), work), QPoint(1980, 30));
}

TEST_F(frmMainTest, AboutBoxShowsTheVersionsAndNoSystemInformation) {
  SessionState st;
  st.FirmwareVersion = "2.1";
  frmAbout about(st, prompts, nullptr);
  EXPECT_EQ(about.windowTitle(), "About zk3 Zodovaz");
  EXPECT_EQ(about.lblSoft()->text(), "1.0.0");
  EXPECT_EQ(about.lblFirm()->text(), "2.1");
  EXPECT_EQ(about.lblBoot()->text(), "");
  about.cmdSysInfo()->click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "System Information Is Unavailable At This Time");
}

}  // namespace
}  // namespace zk
