#pragma once
// A serial port on the test Timeline: bytes arrive at scripted times, writes are recorded
// and may trigger scripted answers, and waiting moves virtual time on without firing the
// window's timers (the receive call does not yield to the event loop).
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Fakes.h"
#include "link/MemoryPort.h"

namespace zk::test {

class FakeSerialPort : public MemoryPort {
 public:
  explicit FakeSerialPort(Timeline& tl) : tl_(tl) {}

  // Bytes that arrive `delay` seconds from now (0: waiting at once).
  void Arrive(const std::string& bytes, double delay = 0) { arrivals_.emplace(tl_.now + delay, bytes); }
  // When the next scripted bytes arrive; infinity when none are left.
  double NextArrival() const {
    return arrivals_.empty() ? std::numeric_limits<double>::infinity() : arrivals_.begin()->first;
  }
  // Called with every text written; may schedule answers with Arrive.
  std::function<void(const std::string&)> onOutput;
  std::vector<std::string> written;
  std::set<int> missing;        // port numbers that cannot be opened
  std::set<int> denied;         // port numbers this user may not open
  std::vector<int> thresholds;  // every RThreshold set, in order
  int discards = 0, opens = 0, closes = 0, waits = 0;
  std::string waitingText() {
    Deliver();
    return Waiting_Text();
  }

  // Runs the receive event as the port would: at least RThreshold characters wait.
  bool Pump() {
    if (!Event_Due()) return false;
    FireOnComm();
    return true;
  }

  bool SetPortOpen(bool open) override {
    if (!open) {
      if (open_) ++closes;
      return MemoryPort::SetPortOpen(false);
    }
    deniedDevice_.clear();
    if (denied.count(port_)) deniedDevice_ = "/dev/ttyUSB" + std::to_string(port_ - 1);
    if (port_ < 1 || port_ > 16 || missing.count(port_) || denied.count(port_)) return false;
    if (!open_) ++opens;
    return MemoryPort::SetPortOpen(true);
  }
  std::string DeniedDevice() const override { return deniedDevice_; }
  void SetRThreshold(int chars) override {
    MemoryPort::SetRThreshold(chars);
    thresholds.push_back(chars);
  }
  void SetInBufferCount(int count) override {
    if (count == 0) ++discards;
    MemoryPort::SetInBufferCount(count);
  }
  void Output(const std::string& text) override {
    if (!open_) return;
    written.push_back(text);
    if (onOutput) onOutput(text);
  }
  bool WaitForInput(int ms) override {
    ++waits;
    Deliver();
    if (Input_Waiting()) return true;
    const double until = tl_.now + ms / 1000.0;
    if (!arrivals_.empty() && arrivals_.begin()->first <= until) {
      tl_.now = std::max(tl_.now, arrivals_.begin()->first);
      Deliver();
      return true;
    }
    tl_.now = until;
    return false;
  }

 protected:
  // Bytes whose time has come reach the queue; a closed port loses them.
  void Deliver() override {
    while (!arrivals_.empty() && arrivals_.begin()->first <= tl_.now) {
      if (open_) Receive(arrivals_.begin()->second);
      arrivals_.erase(arrivals_.begin());
    }
  }

 private:
  Timeline& tl_;
  std::string deniedDevice_;
  std::multimap<double, std::string> arrivals_;
};

}  // namespace zk::test
