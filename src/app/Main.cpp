// zodovaz: the meter window.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "app/AppInfo.h"
#include "app/CommandLine.h"
#include "app/EventGuard.h"
#include "app/Simulator.h"
#include "app/TerminationSignals.h"
#include "app/frmMain.h"
#include "base/ProgramFolder.h"
#include "core/UnexpectedError.h"

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return args;
}

}  // namespace

namespace zk {

namespace {
QStringList SimulatorArguments(const CommandLine& cl) {
  QStringList args;
  for (const std::string& a : cl.simulatorArgs) args << QString::fromStdString(a);
  return args;
}

// The panel changes in narrow strips, one per reading. Through the X server's shared memory
// Qt must wait for the server to finish reading the last strip before it paints the next, a
// round trip each reading that wakes two threads; sent over the socket, the strips need no
// wait. A setting already in the environment stands.
void Prefer_Socket_Drawing() {
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
}
}  // namespace

// The entry: the splash first, then the main window, which does the real start-up work.
int Main(int argc, char** argv) {
  ProgramOptions options = ZodovazOptions();
  const CommandLine cl = ParseCommandLine(options, Arguments(argc, argv));
  if (!cl.error.empty()) return options.Fail(cl.error);
  if (cl.help || cl.version) return options.Finish();

  Prefer_Socket_Drawing();
  GuardedApplication app(argc, argv);
  // A fault a step survives (a lost burst, a skipped record) is shown as an escaped one is.
  Set_Unexpected_Report(ShowToUser);
  QApplication::setApplicationName("zodovaz");
  QApplication::setApplicationVersion(QString::fromStdString(VersionNumberText()));
  // Ties the window to the installed menu entry and its icon (where installed).
  QApplication::setDesktopFileName("zodovaz");
  QApplication::setWindowIcon(QIcon::fromTheme("zodovaz"));

  StartOptions opts;
  opts.programFolder = ProgramFolder(cl.home, argc > 0 ? argv[0] : "");
  opts.ports = cl.ports;
  // Start-up changes the current folder to the program folder: a relative name must not
  // depend on it.
  if (!cl.recording.empty()) opts.recording = std::filesystem::absolute(cl.recording).lexically_normal().string();
  opts.spool = !cl.noSpool;

  Simulator sim;
  if (cl.simulate) {
    const int port = SimulatorPort(cl);
    std::string device, error;
    if (port == 0) {
      error = "every port number is already given to a --port option";
    } else if (sim.Start(SimulatorProgram(), SimulatorArguments(cl), 5000, device, error)) {
      opts.ports.Set(port, device);
      opts.simulatorPort = port;
    }
    if (opts.simulatorPort == 0) {
      std::cerr << "zodovaz: " << error << "\n";
      QMessageBox::warning(nullptr, QString(ProgramTitle),
                           QString::fromStdString("The sensor simulator could not be started (" + error +
                                                  "). The meter starts without it."));
    }
  }

  frmMain main(std::move(opts));
  main.Splash_Show();
  main.Splash_Info("Loading");
  QApplication::processEvents();
  RunGuarded(
      "starting", [&] { main.Form_Load(); }, ReportToUser);
  // A termination signal closes the window as its close box would, without questions.
  TerminationSignals terminationSignals([&main](int) { main.CloseWithoutQuestions(); });
  main.show();
  QApplication::processEvents();
  return app.exec();
}

}  // namespace zk

int main(int argc, char** argv) { return zk::Main(argc, argv); }
