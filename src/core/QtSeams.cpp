#include "core/QtSeams.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace zk {

int64_t SystemClock::LocalMs() {
  constexpr int64_t MinuteMs = 60000;
  const int64_t utc = QDateTime::currentMSecsSinceEpoch();
  // A new minute, or the system clock set back before the minute of the last lookup.
  if (utc >= validUntilUtcMs_ || utc < validFromUtcMs_) {
    offsetMs_ = int64_t(QDateTime::fromMSecsSinceEpoch(utc).offsetFromUtc()) * 1000;
    validFromUtcMs_ = utc - ((utc % MinuteMs) + MinuteMs) % MinuteMs;
    validUntilUtcMs_ = validFromUtcMs_ + MinuteMs;
  }
  return utc + offsetMs_;
}

double SystemClock::Timer() {
  constexpr int64_t DayMs = 86400000;
  return double((LocalMs() % DayMs + DayMs) % DayMs) / 1000.0;
}

DateTime SystemClock::Now() {
  // The local time written as if it were UTC, so no zone is consulted again.
  const QDateTime n = QDateTime::fromMSecsSinceEpoch(LocalMs(), Qt::UTC);
  DateTime d;
  d.year = n.date().year();
  d.month = n.date().month();
  d.day = n.date().day();
  d.hour = n.time().hour();
  d.minute = n.time().minute();
  d.second = n.time().second();
  return d;
}

QtIntervalTimer::QtIntervalTimer(int intervalMs) {
  timer_.setInterval(intervalMs);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Fire(); });
}

QtEvents::QtEvents() {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
}

void QtEvents::DoEventsFor(double seconds) {
  // Whole milliseconds, rounded up: a wait for a moment sleeps until it has come, and is
  // not woken a fraction of a millisecond early to sleep once more.
  const int ms = int(std::ceil(seconds * 1000.0 - 1e-6));
  if (ms <= 0) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return;
  }
  // One round: what is pending is handled, and only when nothing was does it block until
  // something happens, an event or the wake-up timer. A separate round for what is pending
  // first would poll every source once more for nothing.
  wake_.start(ms);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  wake_.stop();
}

void QtEvents::DoEvents() {
  // Handle what is pending or, with nothing pending, sleep in the event dispatcher for up
  // to 2 ms (an event that arrives meanwhile ends the sleep), so polling loops never spin
  // a core.
  DoEventsFor(0.002);
}

}  // namespace zk
