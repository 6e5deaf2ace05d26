#include "app/Lifecycle.h"

#include <gtest/gtest.h>

#include <functional>

#include "FakeSerialPort.h"
#include "Fakes.h"
#include "TempFiles.h"
#include "core/SettingsFile.h"

namespace zk {
namespace {

// The window as start-up and shut-down see it: a fixed screen and placement.
struct FakeHost : LifecycleHost {
  int measured = 0, keysReleased = 0, placed = 0, letGo = 0;
  std::function<void()> onOffer;
  std::string exeFolder = "/nonexistent";
  void Measure_Window() override { ++measured; }
  void Release_Keys() override { ++keysReleased; }
  int ScreenWidthTwips() const override { return 1024 * 15; }
  WindowPlacement CurrentPlacement() const override { return {1500, 900, 9000, 0}; }
  void PlaceWindow() override { ++placed; }
  std::string ExecutableFolder() const override { return exeFolder; }
  void Offer_Recovery() override {
    if (onOffer) onOffer();
  }
  void Recording_Let_Go() override { ++letGo; }
};

struct LifecycleTest : ::testing::Test {
  explicit LifecycleTest(int simulatorPort = 0) : life(ctx, port, table, connection, host, simulatorPort) {
    ctx.programFolder = home.str();
    port.missing = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  }
  // A session file from an earlier run that used `commPort`.
  void Remember(int16_t commPort, int32_t autosave = AutoSavePrompt) {
    test::TestContext before;
    before.ctx.programFolder = home.str();
    before.settings.SettingsFilePath = home.File("zk3_Zodovaz.ini");
    before.settings.CommPort = commPort;
    before.settings.SettingsAutoSave = autosave;
    ASSERT_TRUE(Write_Session_File(before.ctx, {}));
  }
  // The session values the next start would read.
  Settings NextStart() {
    test::TestContext next;
    next.ctx.programFolder = home.str();
    EXPECT_TRUE(Read_Session_File(next.ctx, 1024 * 15));
    return next.settings;
  }
  bool Exit() {
    bool cancel = false;
    life.Form_QueryUnload(cancel);
    return !cancel;
  }

  test::TempFolder home;
  test::TestContext tc;
  Context& ctx = tc.ctx;
  SensitivityTable table;
  test::FakeSerialPort port{tc.clock};
  Connection connection{ctx, port};
  FakeHost host;
  Lifecycle life;
};

TEST_F(LifecycleTest, FirstStartRunsInDemonstrationModeAndWritesTheSessionAtOnce) {
  life.Form_Load();
  EXPECT_TRUE(life.Loaded());
  EXPECT_TRUE(std::filesystem::exists(home.File(SessionFileName)));
  EXPECT_EQ(NextStart().WindowLeft, 1500);
  EXPECT_EQ(tc.state.StatusText, "Demo Mode");
  EXPECT_TRUE(tc.state.HardwareFound);
  EXPECT_NE(tc.state.OperatingMode, ModeLive);
  EXPECT_EQ(tc.shell.splashInfo, std::vector<std::string>{"Running in Demo Mode"});
  EXPECT_TRUE(tc.prompts.shown.empty());
  // Each step once, in the window and on the panel.
  EXPECT_EQ(host.measured, 1);
  EXPECT_EQ(host.keysReleased, 1);
  EXPECT_EQ(host.placed, 1);
  EXPECT_EQ(tc.shell.applyMenus, 1);
  EXPECT_EQ(tc.shell.splashUnloads, 1);
  EXPECT_EQ(tc.view.drawPanel, 1);
  EXPECT_TRUE(tc.tmrClock.Enabled());
  // Readouts and readings start afresh; no port, so no receive event.
  EXPECT_EQ(tc.state.BaseText, "2.0");
  EXPECT_EQ(tc.state.BdText, "0.0");
  EXPECT_TRUE(tc.state.ResetPending && tc.state.NeedleSetRequest);
  EXPECT_EQ(port.RThreshold(), 0);
  // The silent track: neither in the program folder nor beside the program.
  EXPECT_EQ(tc.state.DummyAudioPath, home.File("dummy.mp3"));
}

TEST_F(LifecycleTest, SilentTrackBesideTheProgramServesWhenTheFolderHasNone) {
  test::TempFolder exe;
  exe.Write("dummy.mp3", "x");
  host.exeFolder = exe.str();
  life.Form_Load();
  EXPECT_EQ(tc.state.DummyAudioPath, exe.File("dummy.mp3"));
}

TEST_F(LifecycleTest, RememberedPortThatIsGoneRunsTheConnectSearchAndFallsBackToDemonstration) {
  Remember(3);
  life.Form_Load();
  ASSERT_EQ(tc.prompts.shown.size(), 1u);  // Cancel (the script's default) on the search
  EXPECT_EQ(tc.prompts.shown[0].text, "Check connection and Retry, or Cancel to run in demo mode.");
  EXPECT_EQ(tc.settings.CommPort, 0);
  EXPECT_EQ(tc.state.StatusText, "Demo Mode");
  EXPECT_NE(tc.state.OperatingMode, ModeLive);
  EXPECT_EQ(tc.shell.splashInfo.front(), "Checking for Hardware");
  EXPECT_TRUE(life.Loaded());
}

TEST_F(LifecycleTest, RememberedPortWithASensorStartsLive) {
  Remember(3);
  port.missing.erase(3);
  port.onOutput = [this](const std::string& text) {
    if (text == "V\r") port.Arrive("V,ZK3A1234,1.0,2.1\r", 0.05);
  };
  life.Form_Load();
  EXPECT_TRUE(tc.prompts.shown.empty());
  EXPECT_EQ(tc.state.OperatingMode, ModeLive);
  EXPECT_TRUE(tc.state.InputWatchdogArmed);
  EXPECT_EQ(tc.state.SensorType, "3A");
  EXPECT_EQ(port.RThreshold(), 5);
}

struct AutosaveAtExit : LifecycleTest, ::testing::WithParamInterface<std::tuple<int32_t, bool, bool>> {};

// Autosave mode, whether the prompt answers Yes, and whether the settings are written.
TEST_P(AutosaveAtExit, WritesTheSessionAndRecordingSectionAndTheSettingsByMode) {
  const auto [mode, answerYes, saved] = GetParam();
  Remember(0, mode);
  life.Form_Load();
  tc.settings.Dial_Color = 5;  // a change since the start
  tc.prompts.answers = {answerYes ? MsgResult::Yes : MsgResult::No};
  ASSERT_TRUE(Exit());
  const std::string ini = home.Read("zk3_Zodovaz.ini");
  EXPECT_NE(ini.find("[Recording]"), std::string::npos);
  EXPECT_EQ(ini.find("Dial_Color=5") != std::string::npos, saved);
  EXPECT_EQ(tc.prompts.shown.size(), mode == AutoSavePrompt ? 1u : 0u);
  EXPECT_EQ(NextStart().SettingsAutoSave, mode);
  // Nothing runs on after the end.
  EXPECT_EQ(port.RThreshold(), 0);
  EXPECT_FALSE(tc.tmrClock.Enabled());
  EXPECT_EQ(std::count(tc.audio.calls.begin(), tc.audio.calls.end(), "close"), 2);
}

INSTANTIATE_TEST_SUITE_P(Modes, AutosaveAtExit,
                         ::testing::Values(std::tuple{AutoSaveOff, true, false}, std::tuple{AutoSaveOn, false, true},
                                           std::tuple{AutoSavePrompt, true, true},
                                           std::tuple{AutoSavePrompt, false, false}));

TEST_F(LifecycleTest, PromptModeAsksNothingWhenTheSettingsAreUnchanged) {
  life.Form_Load();
  ASSERT_TRUE(Exit());
  EXPECT_TRUE(tc.prompts.shown.empty());
}

TEST_F(LifecycleTest, NoToLosingAnUnsavedRecordingKeepsTheProgramRunningAndWritesNothing) {
  life.Form_Load();
  std::filesystem::remove(home.File(SessionFileName));
  tc.state.RecordingUnsaved = true;
  tc.prompts.answers = {MsgResult::No};
  EXPECT_FALSE(Exit());
  ASSERT_EQ(tc.prompts.shown.size(), 1u);
  EXPECT_EQ(tc.prompts.shown[0].text, "Recording not saved, Exit?");
  EXPECT_FALSE(std::filesystem::exists(home.File(SessionFileName)));
  EXPECT_FALSE(std::filesystem::exists(home.File("zk3_Zodovaz.ini")));
  EXPECT_TRUE(tc.tmrClock.Enabled());
  EXPECT_TRUE(tc.audio.calls.empty());

  tc.prompts.answers = {MsgResult::Yes};
  EXPECT_TRUE(Exit());
  EXPECT_TRUE(std::filesystem::exists(home.File(SessionFileName)));
}

// Closing the window while recording stops the recording first (it is then saved or kept
// by its mode), so that the question about an unsaved recording covers it.
TEST_F(LifecycleTest, ClosingWhileRecordingStopsTheRecordingFirst) {
  life.Form_Load();
  tc.state.OperatingMode = ModeRecording;
  tc.shell.onStop = [&] { tc.state.OperatingMode = ModeLive; };
  tc.prompts.answers = {MsgResult::No};
  EXPECT_TRUE(Exit());  // the fake stop button leaves nothing unsaved: no question
  EXPECT_EQ(tc.shell.stops, 1);
  EXPECT_TRUE(tc.prompts.shown.empty());
}

// The offer of a recording left behind comes once the splash has gone and the panel is
// drawn, and before the readings start.
TEST_F(LifecycleTest, RecoveryIsOfferedAfterTheSplashAndBeforeTheFirstReading) {
  int offers = 0;
  host.onOffer = [&] {
    ++offers;
    EXPECT_EQ(tc.shell.splashUnloads, 1);
    EXPECT_EQ(tc.view.drawPanel, 1);
    EXPECT_FALSE(tc.state.NeedleSetRequest);
  };
  life.Form_Load();
  EXPECT_EQ(offers, 1);
  EXPECT_TRUE(tc.state.NeedleSetRequest);
}

// A close by the user lets the recording in memory go (its spool with it); a cancelled
// close and one the system asks for keep it.
TEST_F(LifecycleTest, OnlyAUserCloseLetsTheRecordingGo) {
  life.Form_Load();
  tc.state.RecordingUnsaved = true;
  tc.prompts.answers = {MsgResult::No};
  EXPECT_FALSE(Exit());
  EXPECT_EQ(host.letGo, 0);
  bool cancel = true;
  life.Form_QueryUnload(cancel, true);
  EXPECT_FALSE(cancel);
  EXPECT_EQ(host.letGo, 0);
  tc.prompts.answers = {MsgResult::Yes};
  EXPECT_TRUE(Exit());
  EXPECT_EQ(host.letGo, 1);
}

struct SimulatorStart : LifecycleTest {
  SimulatorStart() : LifecycleTest(7) {}
};

TEST_F(SimulatorStart, TheSessionKeepsTheRememberedPortWhileTheSimulatorStandsIn) {
  Remember(3);
  life.Form_Load();  // port 7 is missing too: the search ends in demonstration mode
  tc.settings.CommPort = 7;
  ASSERT_TRUE(Exit());
  EXPECT_EQ(NextStart().CommPort, 3);
  EXPECT_EQ(tc.settings.CommPort, 7);
}

// A shut-down the system asks for ends without a box even when the session file cannot
// be written.
TEST_F(LifecycleTest, AnUnattendedExitAsksNothingWhenTheSessionFileCannotBeWritten) {
  life.Form_Load();
  std::filesystem::remove(home.File(SessionFileName));
  std::filesystem::create_directory(home.File(SessionFileName));
  ::testing::internal::CaptureStderr();
  bool cancel = true;
  life.Form_QueryUnload(cancel, true);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(cancel);
  EXPECT_TRUE(tc.prompts.shown.empty());
  EXPECT_NE(err.find("Error Saving Session Config File"), std::string::npos) << err;
}

}  // namespace
}  // namespace zk
