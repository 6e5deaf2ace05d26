#pragma once
// Shows a Surface on screen. The widget repaints only the rectangles the surface reports as
// changed, and forwards mouse presses, moves and releases in the surface's user coordinates.
// It does not own the surface; the surface must outlive the widget. The surface is backed at
// the widget's device pixel ratio, and rebuilt when the widget moves to a screen of another
// ratio.
//
// While repaints are held (Hold_Repaints), the widgets collect what their surfaces change;
// Show_Held puts it all on the screen at once, in the present event: straight into the
// window's backing store where nothing else is drawn over the changed pixels, else by a
// repaint. A reading drawn in the receive event so reaches the screen without another
// round of the event loop, which would first be woken for the repaint and then poll every
// source again.
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "display/Surface.h"

namespace zk {

class SurfaceWidget : public QWidget {
 public:
  // button: 1 left, 2 right, 4 middle (on a move: the buttons held); shift: 1 Shift,
  // 2 Ctrl, 4 Alt; x and y in the surface's user units.
  using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

  explicit SurfaceWidget(Surface& surface, QWidget* parent = nullptr);
  ~SurfaceWidget() override;

  Surface& surface() { return surface_; }
  MouseHandler onMouseDown, onMouseMove, onMouseUp;
  // Called after a change of screen rebuilt the backing of this surface and of the
  // surfaces shown inside this widget: what they show is to be drawn again.
  std::function<void()> onRatioChange;
  // Brings this surface and those shown inside it to the widget's present ratio, and
  // calls onRatioChange when one of them changed.
  void Follow_Screen();

  QSize sizeHint() const override;

  // Holds the repaints of every surface widget until the matching Show_Held; holds nest.
  static void Hold_Repaints();
  // Ends one hold; the last paints what the widgets collected, each widget once.
  static void Show_Held();

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void Forward(const MouseHandler& h, QMouseEvent* e, bool buttonsHeld);
  void Changed(const QRegion& r);
  struct DirectPaint {
    SurfaceWidget* widget;
    QRegion region;  // in the window's coordinates
  };
  static void Paint_Direct(std::vector<DirectPaint>& paints);
  bool Copy_Pixels(QImage& target, const QRegion& region) const;
  void Copy_To(QPainter& p, const QRegion& region) const;
  std::optional<QRegion> Direct_Region(const QRegion& changed) const;
  std::optional<QRegion> Own_Pixels(QRegion r) const;
  Surface& surface_;
  QRegion held_;  // changed while repaints were held

  static int holds_;
  static std::vector<SurfaceWidget*> holding_;  // the widgets with a region held
};

}  // namespace zk
