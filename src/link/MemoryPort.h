#pragma once
// A serial port whose input is a queue in memory: the port properties are kept as set,
// and a subclass decides when characters arrive (Receive, or a Deliver hook that runs
// before every look at the queue) and how waiting for input passes time. The replay tool
// and the unit tests build their ports on it.
#include <deque>
#include <string>

#include "link/SerialPort.h"

namespace zk {

class MemoryPort : public SerialPort {
 public:
  bool SetCommPort(int port) override {
    if (open_) return false;
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
  void SetDTREnable(bool on) override { dtr = on; }
  void SetRTSEnable(bool on) override { rts = on; }
  bool SetPortOpen(bool open) override {
    open_ = open;
    return true;
  }
  bool PortOpen() const override { return open_; }
  std::string DeniedDevice() const override { return {}; }
  void SetRThreshold(int chars) override { threshold_ = chars; }
  int RThreshold() const override { return threshold_; }
  int InBufferCount() const override {
    const_cast<MemoryPort*>(this)->Deliver();
    return static_cast<int>(queue_.size());
  }
  void SetInBufferCount(int count) override {
    if (count != 0) return;
    Deliver();
    queue_.clear();
  }
  std::string Input() override {
    Deliver();
    if (queue_.empty()) return {};
    std::string c(1, queue_.front());
    queue_.pop_front();
    return c;
  }
  void Output(const std::string&) override {}

  // The receive event is due: the threshold is set and at least that many characters wait.
  bool Event_Due() const { return threshold_ > 0 && InBufferCount() >= threshold_; }

  bool dtr = false, rts = false;

 protected:
  // Runs before every look at the queue; a port with timed input moves what is due in.
  virtual void Deliver() {}
  void Receive(const std::string& bytes) { queue_.insert(queue_.end(), bytes.begin(), bytes.end()); }
  bool Input_Waiting() const { return !queue_.empty(); }
  std::string Waiting_Text() const { return std::string(queue_.begin(), queue_.end()); }

  int port_ = 0;
  int threshold_ = 0;
  bool open_ = false;
  std::string settings_;

 private:
  std::deque<char> queue_;
};

}  // namespace zk
