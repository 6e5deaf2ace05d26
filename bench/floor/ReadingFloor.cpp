// The least a Qt program built the way the meter is does with each reading, as a second
// reference beside zk_cpu_floor: what the meter's CPU cost would be if its own steps
// (the message's parsing, the engine, the needle's pixels) took no time at all.
//
// A child process writes a 6-byte message every 20 ms to a pseudo-terminal, as the
// simulator does; the window's event loop wakes on the terminal, reads the message, moves
// a slanted needle band one step, paints the few rectangles it changes straight into the
// window's backing store and flushes them to the X server over the socket, as the panel
// does (no repaint manager, no shared memory).
// Usage: zk_cpu_reading   (runs until it is ended; the writer ends with it)
#include <fcntl.h>
#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>
#include <QApplication>
#include <QBackingStore>
#include <QPainter>
#include <QRegion>
#include <QSocketNotifier>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <csignal>
#include <ctime>

namespace {

constexpr int Width = 1280, Height = 800;
constexpr long PeriodNs = 20'000'000;

// The sensor's stand-in: a message every 20 ms on the clock, until the window's side of
// the terminal is gone or the window's process ends.
[[noreturn]] void Write_Messages(int terminal) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  const int quiet = ::open("/dev/null", O_WRONLY);
  ::dup2(quiet, STDOUT_FILENO);
  ::dup2(quiet, STDERR_FILENO);
  timespec due{};
  ::clock_gettime(CLOCK_MONOTONIC, &due);
  for (;;) {
    due.tv_nsec += PeriodNs;
    if (due.tv_nsec >= 1'000'000'000) due.tv_nsec -= 1'000'000'000, ++due.tv_sec;
    ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
    if (::write(terminal, "20000\r", 6) != 6) ::_exit(0);
  }
}

// A needle from about (640, 100) down and to the left, one step to the side a reading:
// five rectangles 5 pixels wide along it hold what a step changes.
class Needle {
 public:
  static constexpr int Top = 100, Rows = 250, Boxes = 5, Line = 3;

  QRegion Step() {
    const int old = x_;
    x_ += dir_;
    if (x_ <= 0 || x_ + Line + Rows / 5 >= Width) dir_ = -dir_;
    QRegion changed;
    for (int y = Top; y < Top + Rows; y += Rows / Boxes)
      changed += QRect(std::min(old, x_) + Slant(y), y, 5, Rows / Boxes);
    return changed;
  }
  void Paint(QPainter& p, const QRegion& changed) const {
    p.fillRect(changed.boundingRect(), Qt::white);
    for (const QRect& box : changed) p.fillRect(QRect(x_ + Slant(box.y()), box.y(), Line, box.height()), Qt::red);
  }

 private:
  static int Slant(int y) { return (y - Top) / 5; }
  int x_ = Width / 2, dir_ = 1;
};

}  // namespace

int main(int argc, char** argv) {
  int writer = -1, reader = -1;
  if (::openpty(&writer, &reader, nullptr, nullptr, nullptr) != 0) return 1;
  termios raw{};
  ::tcgetattr(reader, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(reader, TCSANOW, &raw);
  // Before Qt starts a thread: the child is a plain copy of this one.
  if (::fork() == 0) {
    ::close(reader);
    Write_Messages(writer);
  }
  ::close(writer);

  // The meter sends its strips over the socket too.
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("zk_cpu_reading");
  window.resize(Width, Height);
  window.show();

  Needle needle;
  QSocketNotifier input(reader, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &window, [&] {
    char message[64];
    if (::read(reader, message, sizeof message) <= 0) return;
    QBackingStore* store = window.backingStore();
    QWindow* win = window.windowHandle();
    if (!store || !win || !win->isExposed()) return;
    const QRegion changed = needle.Step();
    store->beginPaint(changed);
    {
      QPainter p(store->paintDevice());
      p.setClipRegion(changed);
      needle.Paint(p, changed);
    }
    store->endPaint();
    store->flush(changed, win);
  });
  return app.exec();
}
