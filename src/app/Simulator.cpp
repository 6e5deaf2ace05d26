#include "app/Simulator.h"

#include <sys/prctl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <csignal>

namespace zk {

namespace {

volatile std::sig_atomic_t g_simPid = 0;

// SIGINT, SIGTERM, SIGHUP: take the simulator along, then end as the signal would.
void EndWithSimulator(int sig) {
  if (g_simPid > 0) ::kill(static_cast<pid_t>(g_simPid), SIGTERM);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

void InstallSignalHandlers() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, EndWithSimulator);
}

}  // namespace

QString SimulatorProgram() { return QCoreApplication::applicationDirPath() + "/zodovaz-sim"; }

Simulator::~Simulator() { Stop(); }

bool Simulator::Start(const QString& program, const QStringList& args, int timeoutMs, std::string& device,
                      std::string& error) {
  Stop();
  process_.setProgram(program);
  process_.setArguments(args);
  process_.setProcessChannelMode(QProcess::SeparateChannels);
  process_.setStandardErrorFile(QProcess::nullDevice());
  // The kernel ends the simulator when this program dies without cleaning up.
  process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  process_.start(QIODevice::ReadOnly);
  if (!process_.waitForStarted(timeoutMs)) {
    error = "the simulator " + program.toStdString() + " could not be started: " + process_.errorString().toStdString();
    return false;
  }
  g_simPid = static_cast<std::sig_atomic_t>(process_.processId());
  InstallSignalHandlers();

  QDeadlineTimer deadline(timeoutMs);
  while (!process_.canReadLine()) {
    if (process_.state() == QProcess::NotRunning || deadline.hasExpired() ||
        !process_.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
      if (process_.canReadLine()) break;
      error = "the simulator did not report its terminal";
      Stop();
      return false;
    }
  }
  device = QString::fromLocal8Bit(process_.readLine()).trimmed().toStdString();
  if (device.empty()) {
    error = "the simulator reported an empty terminal path";
    Stop();
    return false;
  }
  // Whatever else it prints is not needed; keep the pipe from filling up.
  QObject::connect(&process_, &QProcess::readyReadStandardOutput, &process_,
                   [this] { process_.readAllStandardOutput(); });
  return true;
}

void Simulator::Stop() {
  if (process_.state() != QProcess::NotRunning) {
    process_.terminate();
    if (!process_.waitForFinished(2000)) {
      process_.kill();
      process_.waitForFinished(1000);
    }
  }
  g_simPid = 0;
}

}  // namespace zk
