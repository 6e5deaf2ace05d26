// The program's defences: exceptions that no handler caught, termination signals, and a
// window restored where no screen shows it.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "QtTestApp.h"
#include "app/EventGuard.h"
#include "app/OnScreen.h"
#include "app/TerminationSignals.h"

namespace zk {
namespace {

TEST(EventGuard, AnEscapingExceptionIsReportedAndSwallowed) {
  std::vector<std::string> reports;
  auto report = [&](const std::string& text) { reports.push_back(text); };
  EXPECT_TRUE(RunGuarded(
      "testing", [] {}, report));
  EXPECT_FALSE(RunGuarded(
      "drawing the knob", [] { throw std::out_of_range("sensitivity step 999"); }, report));
  EXPECT_FALSE(RunGuarded(
      "testing", [] { throw 42; }, report));
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_NE(reports[0].find("drawing the knob: sensitivity step 999"), std::string::npos) << reports[0];
  EXPECT_NE(reports[1].find("unknown error"), std::string::npos);
}

// Delivers two events to a handler that throws at the first, under the guarded
// application; exits 0 when the first was reported with where it happened and the second
// was delivered all the same.
[[noreturn]] void DeliverAThrowingEvent() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "app_tests";
  char* argv[] = {name, nullptr};
  GuardedApplication app(argc, argv);
  std::vector<std::string> reports;
  app.Set_Report([&](const std::string& text) { reports.push_back(text); });
  struct Thrower : QObject {
    int seen = 0;
    bool event(QEvent* e) override {
      if (e->type() != QEvent::User) return QObject::event(e);
      if (++seen == 1) throw std::out_of_range("sensitivity step 999");
      return true;
    }
  } thrower;
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
  QCoreApplication::sendPostedEvents();
  const bool told =
      reports.size() == 1 && reports[0].find("handling a window event: sensitivity step 999") != std::string::npos;
  std::_Exit(thrower.seen == 2 && told ? 0 : 1);
}

// In a process of its own: the other tests' application is not the guarded one.
TEST(EventGuardDeathTest, AnEventThatThrowsIsReportedAndTheLoopGoesOn) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(DeliverAThrowingEvent(), ::testing::ExitedWithCode(0), "");
}

TEST(TerminationSignals, EachSignalArrivesOnTheEventLoop) {
  test::TestApp();
  std::vector<int> got;
  {
    // No deadline: this process handles the signals and lives on.
    TerminationSignals signals_([&](int sig) { got.push_back(sig); }, nullptr, std::chrono::milliseconds{0});
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
      std::raise(sig);                                // handled: the test process lives on
      EXPECT_TRUE(got.empty() || got.back() != sig);  // nothing runs inside the handler
      QElapsedTimer t;
      t.start();
      while ((got.empty() || got.back() != sig) && t.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
  }
  EXPECT_EQ(got, (std::vector<int>{SIGTERM, SIGHUP, SIGINT}));
  struct sigaction now {};
  ::sigaction(SIGTERM, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);  // put back when the object goes
}

// A shut-down that hangs (here the handler waits for a pipe nobody writes) does not keep
// the program alive: the deadline ends it and says why.
TEST(TerminationSignalsDeathTest, AShutDownThatHangsIsEndedByTheDeadline) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        test::TestApp();
        int never[2];
        if (::pipe(never) != 0) std::_Exit(3);
        TerminationSignals signals_(
            [&](int) {
              char c;
              while (::read(never[0], &c, 1) != 0) {
              }
            },
            nullptr, std::chrono::milliseconds{100});
        std::raise(SIGTERM);
        for (;;) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 1000);
      },
      ::testing::ExitedWithCode(1), "did not end in time after a termination signal");
}

TEST(OnScreen, OnlyAWindowNoScreenShowsIsMoved) {
  const QRect primary(0, 0, 1280, 1000), second(1280, 0, 1024, 768);
  const QList<QRect> screens{QRect(0, 0, 1280, 1024), second};
  auto at = [&](int x, int y, int w = 600, int h = 500) {
    return OnScreenPosition(QRect(x, y, w, h), screens, primary);
  };
  EXPECT_EQ(at(100, 50), QPoint(100, 50));
  EXPECT_EQ(at(2000, 300), QPoint(2000, 300));  // on the second screen
  EXPECT_EQ(at(-560, 10), QPoint(-560, 10));    // 40 pixels still show
  EXPECT_EQ(at(-30000, 10), QPoint(0, 10));
  EXPECT_EQ(at(100, -30000), QPoint(100, 0));
  EXPECT_EQ(at(30000, 30000), QPoint(680, 500));
  EXPECT_EQ(at(-590, 10), QPoint(0, 10));               // 10 pixels are too few to grab
  EXPECT_EQ(at(-5000, 0, 3000, 2000), QPoint(0, 0));    // larger than the screen: its corner
  EXPECT_EQ(at(1300, 800, 20, 20), QPoint(1260, 800));  // below the second screen
}

}  // namespace
}  // namespace zk
