#pragma once
// The real clock, timers and event pump, over Qt.
#include <QObject>
#include <QTimer>
#include <cstdint>

#include "base/Clock.h"
#include "core/Events.h"
#include "core/IntervalTimer.h"

namespace zk {

// The system clock in local time. The zone's offset from UTC is looked up once a minute
// (zones change their offset only on a whole minute): each lookup re-reads the zone file,
// and the reading path asks the time several times per reading.
class SystemClock : public Clock {
 public:
  double Timer() override;
  DateTime Now() override;

 private:
  // Milliseconds since the epoch, shifted by the local offset.
  int64_t LocalMs();

  int64_t offsetMs_ = 0;
  int64_t validFromUtcMs_ = 0;
  int64_t validUntilUtcMs_ = 0;  // empty: looked up at the first call
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
  QtEvents();
  void DoEvents() override;
  void DoEventsFor(double seconds) override;

 private:
  QTimer wake_;  // ends a DoEventsFor sleep that no event ended
};

}  // namespace zk
