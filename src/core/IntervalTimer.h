#pragma once
// A repeating timer with a fixed interval, delivered on the UI thread.
#include <functional>
#include <utility>

namespace zk {

class IntervalTimer {
 public:
  virtual ~IntervalTimer() = default;
  virtual void Start() = 0;  // (re)starts the interval from now
  virtual void Stop() = 0;
  virtual bool Enabled() const = 0;
  virtual int IntervalMs() const = 0;

  void SetHandler(std::function<void()> h) { handler_ = std::move(h); }

 protected:
  void Fire() {
    if (handler_) handler_();
  }

 private:
  std::function<void()> handler_;
};

// The seven timers of the main window; their intervals never change.
struct Timers {
  IntervalTimer& tmrClock;        // 800 ms
  IntervalTimer& tmrMessage;      // 1000 ms
  IntervalTimer& tmrLED;          // 300 ms
  IntervalTimer& tmrFall;         // 1000 ms
  IntervalTimer& tmrRise;         // 400 ms
  IntervalTimer& tmrBdMouseDown;  // 1500 ms
  IntervalTimer& tmrSkip;         // 800 ms
};

}  // namespace zk
