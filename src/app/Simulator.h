#pragma once
// The sensor simulator as a child process: started on a pseudo-terminal, it prints the
// terminal's device path as its first line. It ends with the program: when this object
// goes, when the program is told to stop by a signal, and (through the kernel) when the
// program dies.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <string>

namespace zk {

class Simulator {
 public:
  Simulator() = default;
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Starts the program and waits up to timeoutMs for its first line. On failure `error`
  // tells why and nothing keeps running.
  bool Start(const QString& program, const QStringList& args, int timeoutMs, std::string& device, std::string& error);
  void Stop();

 private:
  QProcess process_;
};

// Where the simulator is found: beside the running program.
QString SimulatorProgram();

}  // namespace zk
