// Port scan, opening, the version handshake, start-up commands, the connect search, the
// input watchdog and the waits.
#include <cmath>

#include "LinkFixture.h"
#include "link/Delays.h"

namespace zk::test {
namespace {

TEST(VersionReply, FieldsOfAnAcceptedReply) {
  VersionReply v;
  ASSERT_TRUE(Parse_Version_Reply("V,ZK3A1234,1.0,2.1", v));
  EXPECT_EQ(v.SensorType, "3A");
  EXPECT_EQ(v.SerialNumber, "ZK3A1234");
  EXPECT_EQ(v.BootLoaderVersion, "1.0");
  EXPECT_EQ(v.FirmwareVersion, "2.1");
  ASSERT_TRUE(Parse_Version_Reply("V,ZK31", v));  // fields missing: empty, no fault
  EXPECT_EQ(v.SensorType, "31");
  EXPECT_EQ(v.BootLoaderVersion, "");
  EXPECT_FALSE(Parse_Version_Reply("V,XK3A1234,1.0,2.1", v));
  EXPECT_FALSE(Parse_Version_Reply("V,Z", v));
  EXPECT_FALSE(Parse_Version_Reply("", v));
}

class ConnectionTest : public LinkTest {
 protected:
  ConnectionTest() {
    port.SetPortOpen(false);
    port.SetRThreshold(0);
    port.thresholds.clear();
    st.SensorType.clear();
  }
  // A sensor on `sensorPort` that answers "V" with `reply` 50 ms later.
  void SensorAnswers(int sensorPort, const std::string& reply) {
    port.onOutput = [this, sensorPort, reply](const std::string& text) {
      if (text == "V\r" && port.CommPort() == sensorPort) port.Arrive(reply, 0.05);
    };
  }
  std::vector<std::string> CommandsSent() const { return port.written; }
};

TEST_F(ConnectionTest, HandshakeStartsA3ASensor) {
  SensorAnswers(3, "V,ZK3A1234,1.0,2.1\r");
  port.Arrive("P0001\rP0002\r", 0.6);  // stale stream data during the "Q" phase is thrown away
  const double t0 = tc.clock.now;
  ASSERT_TRUE(conn.Check_Version());
  EXPECT_EQ(tc.shell.splashInfo.back(), "Checking Port 3 for Hardware");
  EXPECT_EQ(CommandsSent(), (std::vector<std::string>{"Q\r", "Q\r", "V\r", "U\r", "R\r"}));
  EXPECT_EQ(st.SensorType, "3A");
  EXPECT_EQ(st.SensorSerialNumber, "ZK3A1234");
  EXPECT_EQ(st.BootLoaderVersion, "1.0");
  EXPECT_EQ(st.FirmwareVersion, "2.1");
  EXPECT_TRUE(tc.controls.Checked("mnuConnectionPortComm", 3));
  EXPECT_TRUE(tc.controls.Enabled("mnuConnectSyncTest"));
  EXPECT_TRUE(port.PortOpen());
  EXPECT_EQ(port.Settings(), "9600,n,8,1");
  EXPECT_TRUE(port.dtr && port.rts);
  EXPECT_EQ(port.thresholds, (std::vector<int>{0}));  // no receive event during the handshake
  // 0.54 + 0.108 + 0.1 s of waits, the reply as soon as it is complete, 0.54 s before "U".
  EXPECT_NEAR(tc.clock.now - t0, 1.35, 0.1);
}

TEST_F(ConnectionTest, ReplyIsAcceptedUntilSevenTenthsOfASecondAfterTheQuery) {
  for (double delay : {0.65, 0.75}) {
    port.onOutput = [this, delay](const std::string& text) {
      if (text == "V\r") port.Arrive("V,ZK3A1,1,2\r", delay);
    };
    EXPECT_EQ(conn.Check_Version(), delay < 0.7) << "reply after " << delay << " s";
  }
}

TEST_F(ConnectionTest, StartUpCommandsPerSensorType) {
  SensorAnswers(3, "V,ZK409,1,2\r");
  ASSERT_TRUE(conn.Check_Version());
  EXPECT_EQ(CommandsSent(), (std::vector<std::string>{"Q\r", "Q\r", "V\r", "U\r", "R\r", "O\r"}));

  port.written.clear();
  set.zk3SensorMode = true;
  SensorAnswers(3, "V,ZK31X,1,2\r");
  ASSERT_TRUE(conn.Check_Version());
  EXPECT_EQ(CommandsSent(), (std::vector<std::string>{"Q\r", "Q\r", "V\r", "SR\r", "U\r", "R\r"}));
  EXPECT_TRUE(tc.controls.Visible("mnuConnectSensor"));

  port.written.clear();
  SensorAnswers(3, "V,ZK99X,1,2\r");
  ASSERT_TRUE(conn.Check_Version());  // an unknown type answers, but is not started
  EXPECT_EQ(CommandsSent(), (std::vector<std::string>{"Q\r", "Q\r", "V\r"}));
}

TEST_F(ConnectionTest, LowerCaseOrMissingReplyFailsAndClosesThePort) {
  SensorAnswers(3, "v,zk3a1234,1.0,2.1\r");
  EXPECT_FALSE(conn.Check_Version());
  EXPECT_FALSE(port.PortOpen());
  EXPECT_EQ(st.SensorType, "");
  EXPECT_FALSE(tc.controls.Checked("mnuConnectionPortComm", 3));

  port.onOutput = nullptr;
  const double t0 = tc.clock.now;
  EXPECT_FALSE(conn.Check_Version());
  EXPECT_LT(tc.clock.now - t0, 1.6);  // gives up after 0.5 s + 0.2 s of reply time
}

TEST_F(ConnectionTest, OpenFailureShowsItsMessage) {
  port.missing = {3};
  EXPECT_FALSE(conn.Check_Version());
  ASSERT_EQ(tc.prompts.shown.size(), 1u);
  EXPECT_EQ(tc.prompts.shown[0].text, "Error Opening Comm3:9600,n,8,1");
  EXPECT_EQ(tc.prompts.shown[0].title, "Open Comms Port");
  EXPECT_EQ(tc.prompts.shown[0].icon, MsgIcon::Critical);
  EXPECT_TRUE(port.written.empty());
}

TEST_F(ConnectionTest, ScanListsOnlyPresentPorts) {
  for (int p = 1; p <= 16; ++p)
    if (p != 2 && p != 14) port.missing.insert(p);
  conn.Init_Ports();
  EXPECT_EQ(st.PortPresent[0], 0);
  EXPECT_EQ(st.PortPresent[2], -1);
  EXPECT_EQ(st.PortPresent[14], -1);
  EXPECT_EQ(st.PortPresent[3], 0);
  EXPECT_EQ(tc.controls.Caption("mnuConnectionPortComm", 2), "Comm2:");
  EXPECT_EQ(tc.controls.Caption("mnuConnectionPortComm", 14), "Comm14:");
  EXPECT_TRUE(tc.controls.Visible("mnuConnectionPortComm", 2));
  EXPECT_FALSE(tc.controls.Visible("mnuConnectionPortComm", 3));
  EXPECT_FALSE(tc.controls.Visible("mnuConnectionPortComm", 0));
  EXPECT_FALSE(port.PortOpen());
}

TEST_F(ConnectionTest, NoPortsGoStraightToTheQuestionAndCancelMeansDemo) {
  for (int p = 1; p <= 16; ++p) port.missing.insert(p);
  conn.Init_Ports();
  EXPECT_TRUE(tc.controls.Visible("mnuConnectionPortComm", 0));
  EXPECT_EQ(tc.controls.Caption("mnuConnectionPortComm", 0), "None");
  st.OperatingMode = ModeNone;
  conn.mnuConnectionConnect_Click();
  ASSERT_EQ(tc.prompts.shown.size(), 1u);
  EXPECT_EQ(tc.prompts.shown[0].text, "Check connection and Retry, or Cancel to run in demo mode.");
  EXPECT_EQ(tc.prompts.shown[0].title, "zk Zodovaz Version 1.0.0");
  EXPECT_EQ(tc.prompts.shown[0].buttons, MsgButtons::RetryCancel);
  EXPECT_EQ(tc.shell.splashInfo.back(), "No Hardware Detected");
  EXPECT_EQ(set.CommPort, 0);
  EXPECT_TRUE(st.HardwareFound);
  EXPECT_EQ(st.StatusText, "Demo Mode");
  EXPECT_EQ(st.StatusWanted, "Demo Mode");
  EXPECT_EQ(st.OperatingMode, ModeNone);
  EXPECT_EQ(port.RThreshold(), 0);
  EXPECT_EQ(tc.shell.splashShows, 1);
  EXPECT_EQ(tc.shell.splashUnloads, 1);
  EXPECT_EQ(tc.shell.commandState, 1);
  EXPECT_EQ(tc.shell.recordModeLabel, 0);
}

TEST_F(ConnectionTest, SearchFindsTheSensorOnALaterPortAfterRetry) {
  for (int p = 1; p <= 16; ++p)
    if (p != 2 && p != 5) port.missing.insert(p);
  conn.Init_Ports();
  tc.prompts.answers = {MsgResult::Retry};
  tc.shell.splashInfo.clear();
  // The sensor wakes up only after the first Retry/Cancel question.
  auto& prompts = tc.prompts;
  const size_t before = prompts.shown.size();
  port.onOutput = [&, before](const std::string& text) {
    if (text == "V\r" && port.CommPort() == 5 && prompts.shown.size() > before) port.Arrive("V,ZK3A1,1,1\r", 0.05);
  };
  conn.mnuConnectionConnect_Click();
  EXPECT_EQ(prompts.shown.size() - before, 1u);
  EXPECT_EQ(set.CommPort, 5);
  EXPECT_EQ(st.OperatingMode, ModeLive);
  EXPECT_TRUE(st.InputWatchdogArmed);
  EXPECT_EQ(port.RThreshold(), 5);
  EXPECT_EQ(tc.shell.recordModeLabel, 1);
  EXPECT_EQ(tc.shell.commandState, 1);
  // Port 2 and port 5 were each tried in both rounds.
  EXPECT_EQ(std::count(tc.shell.splashInfo.begin(), tc.shell.splashInfo.end(), "Checking Port 2 for Hardware"), 2);
}

// A port whose device the user may not open (not in the dialout group) is listed, and the
// search tries it: the open error says what access is missing, and the search goes on.
TEST_F(ConnectionTest, APortTheUserMayNotOpenIsPresentButUnusableAndTheMessageSaysWhy) {
  for (int p = 1; p <= 16; ++p)
    if (p != 2 && p != 5) port.missing.insert(p);
  port.denied = {2};
  conn.Init_Ports();
  EXPECT_EQ(st.PortPresent[2], -1);
  EXPECT_TRUE(tc.controls.Visible("mnuConnectionPortComm", 2));
  EXPECT_EQ(tc.controls.Caption("mnuConnectionPortComm", 2), "Comm2:");

  SensorAnswers(5, "V,ZK3A1,1,1\r");
  conn.mnuConnectionConnect_Click();
  ASSERT_EQ(tc.prompts.shown.size(), 1u);
  EXPECT_EQ(tc.prompts.shown[0].text,
            "Error Opening Comm2:9600,n,8,1\n"
            "Your user needs access to /dev/ttyUSB1 (on Debian: membership of the dialout group, then log in "
            "again).");
  EXPECT_EQ(tc.prompts.shown[0].title, "Open Comms Port");
  EXPECT_EQ(set.CommPort, 5);
  EXPECT_EQ(st.OperatingMode, ModeLive);
}

class WatchdogTest : public LinkTest {
 protected:
  WatchdogTest() {
    tc.tmrClock.SetHandler([this] { conn.tmrClock_Timer(); });
    tc.tmrClock.Start();
  }
  // A live stream of one message every 20 ms for `seconds`.
  void Stream(double seconds) {
    for (double t = 0; t < seconds; t += 0.02) {
      Receive("P0FA0\r");
      tc.clock.Advance(0.02);
    }
  }
};

TEST_F(WatchdogTest, LostStreamDuringARecordingStopsItWithinTwoAndAHalfSeconds) {
  st.OperatingMode = ModeRecording;
  set.AudioEnable = false;
  Stream(3);
  EXPECT_EQ(st.StatusText, "Recording");
  EXPECT_EQ(tc.shell.stops, 0);
  const double unplugged = tc.clock.now;
  while (tc.shell.stops == 0 && tc.clock.now - unplugged < 5) tc.clock.Advance(0.01);
  EXPECT_EQ(tc.shell.stops, 1);
  EXPECT_GE(tc.clock.now - unplugged, 1.6);
  EXPECT_LE(tc.clock.now - unplugged, 2.4);
  EXPECT_EQ(st.StatusText, "Input Error");
  EXPECT_EQ(st.StatusColor, 255);
}

TEST_F(WatchdogTest, QuietWhileTheStreamIsPausedOrInPlayback) {
  Stream(1);
  port.SetRThreshold(0);  // a dialog paused the stream
  tc.clock.Advance(5);
  EXPECT_EQ(st.StatusText, "Input OK");
  port.SetRThreshold(5);
  st.OperatingMode = ModePlayback;
  const int clocks = tc.view.clock;
  tc.clock.Advance(120);
  EXPECT_EQ(st.StatusText, "Input OK");
  EXPECT_EQ(tc.view.clock, clocks);  // no clock either
}

TEST_F(WatchdogTest, DemoModeNeverShowsInputError) {
  port.SetRThreshold(0);
  set.CommPort = 0;
  st.StatusText = st.StatusWanted = "Demo Mode";
  tc.clock.Advance(10);
  EXPECT_EQ(st.StatusText, "Demo Mode");
}

TEST_F(WatchdogTest, ClockRedrawsOnceAMinute) {
  tc.clock.now = 36000.5;
  tc.tmrClock.Start();
  tc.clock.Advance(1);  // first tick draws
  EXPECT_EQ(tc.view.clock, 1);
  tc.clock.Advance(58);
  EXPECT_EQ(tc.view.clock, 1);
  tc.clock.Advance(2);
  EXPECT_EQ(tc.view.clock, 2);
  EXPECT_EQ(std::get<1>(tc.view.lastClock), 1);
}

TEST_F(ConnectionTest, ProbeSelectionClearsBothMarksUntilTheSensorConfirms) {
  port.SetCommPort(3);
  port.SetPortOpen(true);
  tc.controls.SetChecked("mnuSensorLocal", true);
  conn.mnuSensorRemote_Click();
  conn.mnuSensorLocal_Click();
  EXPECT_EQ(CommandsSent(), (std::vector<std::string>{"SR\r", "SL\r"}));
  EXPECT_FALSE(tc.controls.Checked("mnuSensorLocal"));
  EXPECT_FALSE(tc.controls.Checked("mnuSensorRemote"));
}

// An event pump whose timer goes back to 0 at midnight, as the system's does.
class MidnightEvents : public Events {
 public:
  explicit MidnightEvents(Timeline& tl) : tl_(tl) {}
  void DoEvents() override {
    tl_.now += 0.005;
    elapsed += 0.005;
    if (tl_.now >= 86400) tl_.now -= 86400;
  }
  double elapsed = 0;

 private:
  Timeline& tl_;
};

TEST_F(LinkTest, DelaysEndAcrossMidnight) {
  MidnightEvents ev(tc.clock);
  Context c2{set, st, tc.clock, ev, tc.prompts, ctx.timers, tc.view, tc.controls, tc.shell, tc.audio, "/tmp"};
  tc.clock.now = 86399.8;
  TDelay(c2, 10);
  EXPECT_NEAR(ev.elapsed, 0.54, 0.01);
  ev.elapsed = 0;
  tc.clock.now = 86399.5;
  SDelay(c2, 1);
  EXPECT_NEAR(ev.elapsed, 18 * 0.054, 0.01);
  EXPECT_NEAR(Timer_Elapsed(86399.9, 0.1), 0.2, 1e-9);
}

}  // namespace
}  // namespace zk::test
