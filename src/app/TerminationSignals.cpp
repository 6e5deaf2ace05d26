#include "app/TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace zk {

namespace {

constexpr int Signals[] = {SIGTERM, SIGHUP, SIGINT};
volatile std::sig_atomic_t g_writeEnd = -1;

// Async-signal-safe: one write of one byte, errno kept for the interrupted code.
void OnSignal(int sig) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(sig);
  if (g_writeEnd >= 0) {
    const ssize_t n = ::write(g_writeEnd, &byte, 1);  // a full pipe already holds a wake-up
    (void)n;
  }
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, QObject* parent,
                                       std::chrono::milliseconds deadline)
    : QObject(parent), onSignal_(std::move(onSignal)), deadline_(deadline) {
  if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;  // the signals keep their default then
  g_writeEnd = pipe_[1];
  notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : Signals) ::sigaction(sig, &sa, nullptr);
}

TerminationSignals::~TerminationSignals() {
  if (pipe_[0] < 0) return;
  for (int sig : Signals) std::signal(sig, SIG_DFL);
  g_writeEnd = -1;
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void TerminationSignals::Drain() {
  unsigned char byte = 0;
  while (::read(pipe_[0], &byte, 1) == 1) {
    Start_Deadline();
    if (onSignal_) onSignal_(byte);
  }
}

void TerminationSignals::Start_Deadline() {
  if (deadlineStarted_ || deadline_.count() <= 0) return;
  deadlineStarted_ = true;
  // The thread only sleeps; a program that ends in time takes it along.
  std::thread([deadline = deadline_] {
    std::this_thread::sleep_for(deadline);
    static constexpr char text[] = "zodovaz: the program did not end in time after a termination signal; it ends now\n";
    const ssize_t n = ::write(STDERR_FILENO, text, sizeof text - 1);
    (void)n;
    std::_Exit(1);
  }).detach();
}

}  // namespace zk
