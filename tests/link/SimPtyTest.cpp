// The real thing end to end: zodovaz-sim on a pseudo-terminal, QtSerialPort, the version
// handshake and the live stream on the system clock and the Qt event loop.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

#include "Fakes.h"
#include "core/QtSeams.h"
#include "link/Connection.h"
#include "link/QtSerialPort.h"
#include "link/SampleStream.h"
#include "link/SyncTest.h"
#include "meter/MeterEngine.h"

namespace zk::test {
namespace {

QString SimPath() { return QFileInfo("/proc/self/exe").canonicalPath() + "/zodovaz-sim"; }

void RunEvents(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

class SimPtyTest : public ::testing::Test {
 protected:
  SimPtyTest() { table.Init_SensTable(); }
  ~SimPtyTest() override {
    if (sim.state() != QProcess::NotRunning) {
      sim.terminate();
      sim.waitForFinished(3000);
    }
  }
  // Starts the simulator; its first line is the device, which becomes port 3.
  bool StartSim(const QStringList& args) {
    sim.start(SimPath(), args);
    if (!sim.waitForStarted(3000) || !sim.waitForReadyRead(3000)) return false;
    const QString device = QString::fromUtf8(sim.readLine()).trimmed();
    ports.Set(3, device.toStdString());
    set.CommPort = 3;
    return device.startsWith("/dev/");
  }

  int argc = 1;
  char arg0[16] = "link_tests";
  char* argv[2] = {arg0, nullptr};
  QCoreApplication app{argc, argv};
  SystemClock clock;
  QtEvents events;
  TestContext tc;  // prompts, controls, view, shell, audio and timers stay fakes
  Settings& set = tc.settings;
  SessionState& st = tc.state;
  Context ctx{set, st, clock, events, tc.prompts, tc.ctx.timers, tc.view, tc.controls, tc.shell, tc.audio, "/tmp"};
  PortTable ports;
  QtSerialPort port{ports};
  SensitivityTable table;
  MeterEngine engine{ctx, table};
  SyncTest sync{ctx, port, engine};
  SampleStream stream{ctx, port, engine, sync};
  Connection conn{ctx, port};
  QProcess sim;

  // A pseudo-terminal of the test's own as port 4, opened; `master` is its other end.
  void OpenPty(int& master) {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    ports.Set(4, ::ptsname(master));
    ASSERT_TRUE(port.SetCommPort(4));
    ASSERT_TRUE(port.SetPortOpen(true));
  }
};

// The receive event comes straight from the port's announcement. Characters that arrive
// while it runs its own rounds of events are not announced again by the port, and must
// still raise the next receive event once it returns.
TEST_F(SimPtyTest, CharactersThatCameDuringAReceiveEventRaiseTheNext) {
  int master = -1;
  ASSERT_NO_FATAL_FAILURE(OpenPty(master));
  port.SetRThreshold(1);
  std::string got;
  int events = 0;
  port.SetOnComm([&] {
    ++events;
    while (port.InBufferCount() > 0) got += port.Input();
    if (events == 1) {
      EXPECT_EQ(::write(master, "B", 1), 1);
      RunEvents(100);  // "B" arrives in here
    }
  });
  ASSERT_EQ(::write(master, "A", 1), 1);
  for (int i = 0; i < 100 && got.size() < 2; ++i) RunEvents(20);
  EXPECT_EQ(got, "AB");
  EXPECT_EQ(events, 2);
  port.SetPortOpen(false);
  ::close(master);
}

// Characters that came while the stream was held (threshold 0) raise one receive event
// when it is released, from the event loop; a release with nothing waiting raises none.
TEST_F(SimPtyTest, CharactersThatWaitedWhileHeldRaiseAnEventOnRelease) {
  int master = -1;
  ASSERT_NO_FATAL_FAILURE(OpenPty(master));
  int events = 0;
  port.SetOnComm([&] {
    ++events;
    while (port.InBufferCount() > 0) port.Input();
  });
  port.SetRThreshold(0);
  ASSERT_EQ(::write(master, "P4E20", 5), 5);
  RunEvents(100);
  EXPECT_EQ(events, 0);
  port.SetRThreshold(5);
  EXPECT_EQ(events, 0);  // not inside the release
  RunEvents(100);
  EXPECT_EQ(events, 1);
  port.SetRThreshold(0);
  port.SetRThreshold(5);
  RunEvents(100);
  EXPECT_EQ(events, 1);
  port.SetPortOpen(false);
  ::close(master);
}

TEST_F(SimPtyTest, HandshakeAndAboutFiftyReadingsASecond) {
  ASSERT_TRUE(StartSim({"--type", "3A", "--serial", "0042"}));
  ASSERT_TRUE(conn.Check_Version());
  EXPECT_EQ(st.SensorType, "3A");
  EXPECT_EQ(st.SensorSerialNumber, "ZK3A0042");
  EXPECT_EQ(st.FirmwareVersion, "2.1");

  // Count every message taken: recording mode without sound counts them in RecSampleCount.
  st.OperatingMode = ModeRecording;
  set.AudioEnable = false;
  port.SetInBufferCount(0);
  port.SetRThreshold(5);
  RunEvents(2000);
  EXPECT_GE(st.RecSampleCount, 90);
  EXPECT_LE(st.RecSampleCount, 110);
  EXPECT_EQ(st.RawReading, 20000);
  EXPECT_EQ(st.StatusText, "Recording");
  EXPECT_GT(tc.view.needle, 20);

  // The application closes and reopens the port; the simulator keeps serving.
  conn.Com_Close();
  RunEvents(100);
  ASSERT_TRUE(conn.Check_Version());
  sim.terminate();
  ASSERT_TRUE(sim.waitForFinished(3000));
  EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.exitCode(), 0);
}

TEST_F(SimPtyTest, ScriptedDisconnectClosesThePortAndEndsTheSimulator) {
  QTemporaryFile script;
  ASSERT_TRUE(script.open());
  script.write("0 value 1000\n300 disconnect\n");
  script.flush();
  ASSERT_TRUE(StartSim({"--script", script.fileName()}));
  ASSERT_TRUE(conn.Check_Version());
  port.SetRThreshold(5);
  RunEvents(1200);
  EXPECT_EQ(st.RawReading, 1000);
  EXPECT_FALSE(port.PortOpen());  // the dead terminal was let go
  if (sim.state() != QProcess::NotRunning) {
    EXPECT_TRUE(sim.waitForFinished(3000));
  }
  EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(sim.exitCode(), 0);
}

}  // namespace
}  // namespace zk::test
