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

// The intervals of the main window's timers, in milliseconds; they never change.
namespace TimerMs {
constexpr int Clock = 800;         // clock and input watchdog
constexpr int Message = 1000;      // short banner messages
constexpr int LED = 300;           // SET lamp off
constexpr int Fall = 1000;         // re-SET of a needle above the scale
constexpr int Rise = 400;          // re-SET of a needle below the scale
constexpr int BdMouseDown = 1500;  // long press on the BD counter
constexpr int Skip = 800;          // resume after skipping
}  // namespace TimerMs

// The seven timers of the main window.
struct Timers {
  IntervalTimer& tmrClock;        // 800 ms
  IntervalTimer& tmrMessage;      // 1000 ms
  IntervalTimer& tmrLED;          // 300 ms
  IntervalTimer& tmrFall;         // 1000 ms
  IntervalTimer& tmrRise;         // 400 ms
  IntervalTimer& tmrBdMouseDown;  // 1500 ms
  IntervalTimer& tmrSkip;         // 800 ms

  void Stop_All() {
    for (IntervalTimer* t : {&tmrClock, &tmrMessage, &tmrLED, &tmrFall, &tmrRise, &tmrBdMouseDown, &tmrSkip}) t->Stop();
  }
};

// The seven timers made of one timer class with the window's intervals; `args` are
// what the class takes before the interval (nothing for the Qt timer, the clock for a
// virtual one).
template <typename T>
struct WindowTimers {
  template <typename... A>
  explicit WindowTimers(A&... args)
      : tmrClock(args..., TimerMs::Clock),
        tmrMessage(args..., TimerMs::Message),
        tmrLED(args..., TimerMs::LED),
        tmrFall(args..., TimerMs::Fall),
        tmrRise(args..., TimerMs::Rise),
        tmrBdMouseDown(args..., TimerMs::BdMouseDown),
        tmrSkip(args..., TimerMs::Skip) {}
  T tmrClock, tmrMessage, tmrLED, tmrFall, tmrRise, tmrBdMouseDown, tmrSkip;
  Timers All() { return Timers{tmrClock, tmrMessage, tmrLED, tmrFall, tmrRise, tmrBdMouseDown, tmrSkip}; }
};

}  // namespace zk
