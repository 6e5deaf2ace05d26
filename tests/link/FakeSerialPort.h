#pragma once
// A serial port on the test Timeline: bytes arrive at scripted times, writes are recorded
// and may trigger scripted answers, and waiting moves virtual time on without firing the
// window's timers (the receive call does not yield to the event loop).
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Fakes.h"
#include "link/SerialPort.h"

namespace zk::test {

class FakeSerialPort : public SerialPort {
 public:
  explicit FakeSerialPort(Timeline& tl) : tl_(tl) {}

  // Bytes that arrive `delay` seconds from now (0: waiting at once).
  void Arrive(const std::string& bytes, double delay = 0) { arrivals_.emplace(tl_.now + delay, bytes); }
  // Called with every text written; may schedule answers with Arrive.
  std::function<void(const std::string&)> onOutput;
  std::vector<std::string> written;
  std::set<int> missing;             // port numbers that cannot be opened
  std::vector<int> thresholds;       // every RThreshold set, in order
  int discards = 0, opens = 0, closes = 0;
  bool dtr = false, rts = false;
  std::string waitingText() const { return std::string(queue_.begin(), queue_.end()); }

  // Runs the receive event as the port would: at least RThreshold characters wait.
  bool Pump() {
    Deliver();
    if (threshold_ > 0 && InBufferCount() >= threshold_) {
      FireOnComm();
      return true;
    }
    return false;
  }

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
    if (!open) {
      if (open_) ++closes;
      open_ = false;
      return true;
    }
    if (port_ < 1 || port_ > 16 || missing.count(port_)) return false;
    if (!open_) ++opens;
    open_ = true;
    return true;
  }
  bool PortOpen() const override { return open_; }
  void SetRThreshold(int chars) override {
    threshold_ = chars;
    thresholds.push_back(chars);
  }
  int RThreshold() const override { return threshold_; }
  int InBufferCount() const override {
    const_cast<FakeSerialPort*>(this)->Deliver();
    return static_cast<int>(queue_.size());
  }
  void SetInBufferCount(int count) override {
    if (count != 0) return;
    Deliver();
    queue_.clear();
    ++discards;
  }
  std::string Input() override {
    Deliver();
    if (queue_.empty()) return {};
    std::string c(1, queue_.front());
    queue_.pop_front();
    return c;
  }
  void Output(const std::string& text) override {
    if (!open_) return;
    written.push_back(text);
    if (onOutput) onOutput(text);
  }
  bool WaitForInput(int ms) override {
    ++waits;
    Deliver();
    if (!queue_.empty()) return true;
    const double until = tl_.now + ms / 1000.0;
    if (!arrivals_.empty() && arrivals_.begin()->first <= until) {
      tl_.now = std::max(tl_.now, arrivals_.begin()->first);
      Deliver();
      return true;
    }
    tl_.now = until;
    return false;
  }
  int waits = 0;

 private:
  void Deliver() {
    while (!arrivals_.empty() && arrivals_.begin()->first <= tl_.now) {
      if (open_)
        for (char c : arrivals_.begin()->second) queue_.push_back(c);
      arrivals_.erase(arrivals_.begin());
    }
  }

  Timeline& tl_;
  std::multimap<double, std::string> arrivals_;
  std::deque<char> queue_;
  int port_ = 0, threshold_ = 0;
  bool open_ = false;
  std::string settings_;
};

}  // namespace zk::test
