#pragma once
// SIGTERM, SIGHUP and SIGINT turned into an ordinary event of the window thread. The
// handler itself only writes the signal's number into a pipe; a socket notifier reads it
// on the event loop and calls the given function there, where it is safe to close the
// window, write files and end cleanly.
//
// The first signal also starts a deadline: a program that has not ended by then — a write
// that hangs, a box nobody will answer — says so on the standard error and ends from
// another thread with exit code 1, whatever its window thread is doing. The deadline
// outlives the object, so the end of the program after its window closed is covered too.
#include <QObject>
#include <chrono>
#include <functional>

class QSocketNotifier;

namespace zk {

class TerminationSignals : public QObject {
 public:
  static constexpr std::chrono::milliseconds DefaultDeadline{1000};

  // Installs the handlers; one object at a time. `onSignal` gets the signal number. A
  // deadline of zero sets none (a process that handles the signals and lives on).
  explicit TerminationSignals(std::function<void(int)> onSignal, QObject* parent = nullptr,
                              std::chrono::milliseconds deadline = DefaultDeadline);
  // Puts the default handlers back.
  ~TerminationSignals() override;

  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void Drain();
  void Start_Deadline();
  std::function<void(int)> onSignal_;
  std::chrono::milliseconds deadline_;
  bool deadlineStarted_ = false;
  QSocketNotifier* notifier_ = nullptr;
  int pipe_[2] = {-1, -1};
};

}  // namespace zk
