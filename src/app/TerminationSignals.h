#pragma once
// SIGTERM, SIGHUP and SIGINT turned into an ordinary event of the window thread. The
// handler itself only writes the signal's number into a pipe; a socket notifier reads it
// on the event loop and calls the given function there, where it is safe to close the
// window, write files and end cleanly.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zk {

class TerminationSignals : public QObject {
 public:
  // Installs the handlers; one object at a time. `onSignal` gets the signal number.
  explicit TerminationSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
  // Puts the default handlers back.
  ~TerminationSignals() override;

  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void Drain();
  std::function<void(int)> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
  int pipe_[2] = {-1, -1};
};

}  // namespace zk
