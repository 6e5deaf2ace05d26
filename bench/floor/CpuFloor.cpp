// The least a Qt window does to show a moving needle, as the reference the meter's CPU
// figures are measured against: a bare 1280x800 widget whose 20 ms precise timer moves a
// 3-pixel line one step and asks to repaint only the band the old and the new line cover,
// painting it in paintEvent.
// Usage: zk_cpu_floor   (runs until it is ended)
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

namespace {

class Floor : public QWidget {
 public:
  static constexpr int Width = 1280, Height = 800, Line = 3, Step = 2;

  Floor() {
    setWindowTitle("zk_cpu_floor");
    resize(Width, Height);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { Move(); });
    timer_.start(20);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    p.fillRect(e->rect(), Qt::white);
    p.fillRect(QRect(x_, 0, Line, Height), Qt::black);
  }

 private:
  void Move() {
    const int old = x_;
    x_ += dir_ * Step;
    if (x_ <= 0 || x_ + Line >= Width) dir_ = -dir_;
    const int left = std::min(old, x_);
    update(QRect(left, 0, std::abs(x_ - old) + Line, Height));
  }

  QTimer timer_;
  int x_ = Width / 2, dir_ = 1;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Floor floor;
  floor.show();
  return app.exec();
}
