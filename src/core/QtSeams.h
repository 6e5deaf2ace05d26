#pragma once
// The real clock, timers and event pump, over Qt.
#include <QObject>
#include <QTimer>

#include "core/Clock.h"
#include "core/Events.h"
#include "core/IntervalTimer.h"

namespace zk {

class SystemClock : public Clock {
 public:
  double Timer() override;
  DateTime Now() override;
};

class QtIntervalTimer : public IntervalTimer {
 public:
  explicit QtIntervalTimer(int intervalMs);
  void Start() override { timer_.start(); }
  void Stop() override { timer_.stop(); }
  bool Enabled() const override { return timer_.isActive(); }
  int IntervalMs() const override { return timer_.interval(); }

 private:
  QTimer timer_;
};

class QtEvents : public Events {
 public:
  void DoEvents() override;
};

}  // namespace zk
