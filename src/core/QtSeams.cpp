#include "core/QtSeams.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>

namespace zk {

double SystemClock::Timer() {
  const QTime t = QTime::currentTime();
  return t.msecsSinceStartOfDay() / 1000.0;
}

DateTime SystemClock::Now() {
  const QDateTime n = QDateTime::currentDateTime();
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

void QtEvents::DoEvents() {
  // Handle what is pending, then sleep in the event dispatcher for up to 2 ms (an event
  // that arrives meanwhile is handled at once), so polling loops never spin a core.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QEventLoop loop;
  QTimer::singleShot(2, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace zk
