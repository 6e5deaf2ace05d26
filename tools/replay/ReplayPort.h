#pragma once
// The serial port of a replay: the capture's lines are its input. The replay loop hands
// the port one line at a time; a receive call that waits for more input takes the later
// lines itself, moving virtual time to each, up to its deadline.
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "link/SerialPort.h"
#include "tools/replay/Capture.h"
#include "core/VirtualTime.h"

namespace zk::replay {

class ReplayPort : public SerialPort {
 public:
  ReplayPort(VirtualClock& clock, const std::vector<CaptureLine>& lines, double start)
      : clock_(clock), lines_(lines), start_(start) {}

  bool More() const { return next_ < lines_.size(); }
  double Next_Time() const { return start_ + lines_[next_].ms / 1000.0; }
  void Deliver_Next() {
    const std::string& b = lines_[next_++].bytes;
    queue_.insert(queue_.end(), b.begin(), b.end());
  }
  // The receive event, when at least RThreshold characters wait.
  bool Event_Due() const { return threshold_ > 0 && static_cast<int>(queue_.size()) >= threshold_; }
  void Fire() { FireOnComm(); }

  bool SetCommPort(int port) override {
    port_ = port;
    return true;
  }
  int CommPort() const override { return port_; }
  bool SetSettings(const std::string& s) override {
    settings_ = s;
    return true;
  }
  std::string Settings() const override { return settings_; }
  void SetInBufferSize(int) override {}
  void SetHandshaking(int) override {}
  void SetInputLen(int) override {}
  void SetDTREnable(bool) override {}
  void SetRTSEnable(bool) override {}
  bool SetPortOpen(bool open) override {
    open_ = open;
    return true;
  }
  bool PortOpen() const override { return open_; }
  void SetRThreshold(int chars) override { threshold_ = chars; }
  int RThreshold() const override { return threshold_; }
  int InBufferCount() const override { return static_cast<int>(queue_.size()); }
  void SetInBufferCount(int count) override {
    if (count == 0) queue_.clear();
  }
  std::string Input() override {
    if (queue_.empty()) return {};
    std::string c(1, queue_.front());
    queue_.pop_front();
    return c;
  }
  void Output(const std::string&) override {}
  bool WaitForInput(int ms) override {
    const double until = clock_.Timer() + ms / 1000.0;
    while (queue_.empty() && More() && Next_Time() <= until) {
      clock_.JumpTo(Next_Time());
      Deliver_Next();
    }
    if (!queue_.empty()) return true;
    clock_.JumpTo(until);
    return false;
  }

 private:
  VirtualClock& clock_;
  const std::vector<CaptureLine>& lines_;
  double start_;
  size_t next_ = 0;
  std::deque<char> queue_;
  int port_ = 1, threshold_ = 0;
  bool open_ = true;
  std::string settings_ = "9600,n,8,1";
};

}  // namespace zk::replay
