// The picture-box rules the drawing procedures rely on, checked by reading pixels back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>

#include <cmath>
#include <memory>

#include "DisplayRig.h"
#include "display/Surface.h"
#include "display/SurfaceWidget.h"

namespace zk::test {
namespace {

constexpr int32_t Red = 255, Blue = 0xFF0000, White = 0xFFFFFF, Black = 0;

TEST(Surface, UserScaleWithUpwardY) {
  Surface s(200, 125);
  s.Scale(-1000, 1200, 2000, -1250);
  EXPECT_DOUBLE_EQ(s.PxX(-1000), 0);
  EXPECT_DOUBLE_EQ(s.PxX(0), 100);
  EXPECT_DOUBLE_EQ(s.PxY(1200), 0);
  EXPECT_DOUBLE_EQ(s.PxY(-50), 125);
  EXPECT_DOUBLE_EQ(s.UserY(s.PxY(300)), 300);
  // Text extends downward on the screen, so its height is negative on an upward axis.
  EXPECT_LT(s.TextHeight("Ag"), 0);
  EXPECT_GT(s.TextWidth("Ag"), 0);
  // The point scale keeps its unit when the size changes.
  s.SetScaleMode(Surface::ScaleMode::Point);
  s.Resize(400, 100);
  EXPECT_DOUBLE_EQ(s.ScaleHeight(), 75);
}

TEST(Surface, BackColorClearsAndFilledShapes) {
  Surface s(100, 100);
  s.SetBackColor(White);
  s.FillColor = Blue;
  s.FillStyle = Surface::FillSolid;
  s.Circle(50, 50, 30, Black);
  EXPECT_EQ(s.PixelColor(50, 50), Blue);  // filled
  EXPECT_EQ(s.PixelColor(5, 5), White);
  s.FillStyle = Surface::FillTransparent;
  s.SetBackColor(White);
  EXPECT_EQ(s.PixelColor(50, 50), White);
  s.Circle(50, 50, 30, Black);
  EXPECT_EQ(s.PixelColor(50, 50), White);  // outline only
}

TEST(Surface, ArcAnglesAndSectors) {
  // Pixel scale: y grows downward, yet angles still run counter-clockwise on the screen.
  Surface s(200, 200);
  s.SetBackColor(White);
  s.FillColor = Blue;
  s.FillStyle = Surface::FillSolid;
  s.DrawWidth = 3;
  // Both angles negative: a sector over the upper right quarter, filled.
  s.Circle(100, 100, 80, Red, -0.00001, -1.570795);
  EXPECT_EQ(s.PixelColor(130, 70), Blue);
  EXPECT_EQ(s.PixelColor(70, 130), White);
  EXPECT_EQ(s.PixelColor(70, 70), White);
  // One negative angle draws only that radius, and arcs are never filled.
  s.SetBackColor(White);
  s.Circle(100, 100, 80, Red, 3.14159, -4.712385);  // left to bottom, radius at the bottom
  EXPECT_TRUE(Near(s.PixelColor(100, 150), Red));   // radius to 6 o'clock
  EXPECT_EQ(s.PixelColor(60, 100), White);          // no radius at the start
  EXPECT_TRUE(Near(s.PixelColor(20, 100), Red));    // the arc itself
  EXPECT_EQ(s.PixelColor(70, 130), White);          // not filled
}

TEST(Surface, OpaquePrintErasesWithBlanks) {
  Surface s(200, 60);
  s.SetBackColor(White);
  s.ForeColor = Black;
  s.SetFontSize(20);
  s.CurrentX = 5;
  s.CurrentY = 5;
  s.Print("88");
  bool inked = false;
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 60; ++y) inked |= s.PixelColor(x, y) != White;
  ASSERT_TRUE(inked);
  s.CurrentX = 5;
  s.CurrentY = 5;
  s.Print("        ");
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 60; ++y) ASSERT_EQ(s.PixelColor(x, y), White) << x << "," << y;
}

TEST(Surface, DotAndDirtyRectangle) {
  Surface s(300, 300);
  QRect seen;
  s.SetChangeListener([&](const QRegion& r) { seen = seen.united(r.boundingRect()); });
  s.SetBackColor(White);
  EXPECT_EQ(s.TakeDirty(), QRect(0, 0, 300, 300));
  EXPECT_TRUE(s.Dirty().isEmpty());
  s.DrawWidth = 10;
  s.PSet(150, 150, Red);
  EXPECT_EQ(s.PixelColor(152, 152), Red);  // a round dot of the pen's diameter
  EXPECT_EQ(s.PixelColor(158, 158), White);
  const QRect d = s.TakeDirty();
  EXPECT_TRUE(d.contains(QRect(145, 145, 10, 10)));
  EXPECT_LT(d.width(), 40);
  EXPECT_TRUE(seen.contains(d));
}

// Aligned 2 x 2 blocks of the image that are not one colour: none at all would be a
// picture drawn at half the resolution and shown in blocks.
int MixedBlocks(const QImage& im) {
  int n = 0;
  for (int y = 0; y + 1 < im.height(); y += 2)
    for (int x = 0; x + 1 < im.width(); x += 2) {
      const QRgb c = im.pixel(x, y);
      n += im.pixel(x + 1, y) != c || im.pixel(x, y + 1) != c || im.pixel(x + 1, y + 1) != c;
    }
  return n;
}

TEST(Surface, BackedAtTheDevicePixelRatio) {
  Surface s(200, 100);
  s.Scale(-1000, 1200, 2000, -1250);
  s.SetDevicePixelRatio(2);
  s.SetBackColor(White);
  // The widget's size and the user scale are as before; the image is twice as large.
  EXPECT_EQ(s.WidthPx(), 200);
  EXPECT_EQ(s.HeightPx(), 100);
  EXPECT_EQ(s.Image().size(), QSize(400, 200));
  EXPECT_EQ(s.Image().devicePixelRatio(), 2.0);
  EXPECT_DOUBLE_EQ(s.PxX(0), 100);
  EXPECT_DOUBLE_EQ(s.DevicePoint(0, -50).y(), 200);

  // A thin slanted line and a text are drawn at the image's own resolution.
  s.DrawWidth = 1;
  s.Line(-900, 1100, 900, 100, Black);
  EXPECT_GT(MixedBlocks(s.Image()), 100);
  s.SetBackColor(White);
  s.SetFontSize(8);
  s.CurrentX = -900;
  s.CurrentY = 1100;
  s.Print("Wednesday");
  EXPECT_GT(MixedBlocks(s.Image()), 20);
  // A one-pixel point covers the widget pixel: all four image pixels.
  s.PSet(0, 600, Red);
  const int px = static_cast<int>(s.PxX(0)), py = static_cast<int>(s.PxY(600));
  for (int dy = 0; dy < 2; ++dy)
    for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(Surface::FromQColor(s.Image().pixel(px * 2 + dx, py * 2 + dy)), Red);
  EXPECT_EQ(s.PixelColor(px, py), Red);

  // Back to one: the image follows, the face of the old ratio is gone, the picture stays.
  s.KeepFace();
  s.SetDevicePixelRatio(1);
  EXPECT_EQ(s.Image().size(), QSize(200, 100));
  EXPECT_EQ(s.Face(), nullptr);
  EXPECT_EQ(s.PixelColor(px, py), Red);
  s.SetDevicePixelRatio(0);  // no use: ignored
  EXPECT_EQ(s.DevicePixelRatio(), 1.0);
}

TEST(SurfaceWidget, AChangeOfScreenRebuildsTheBacking) {
  Surface panel(100, 50), inner(20, 10);
  SurfaceWidget w(panel);
  SurfaceWidget child(inner, &w);
  const double screen = w.devicePixelRatioF();
  // As if both had been backed for another screen.
  panel.SetDevicePixelRatio(screen * 2);
  inner.SetDevicePixelRatio(screen * 2);
  int redraws = 0;
  w.onRatioChange = [&] {
    ++redraws;
    EXPECT_EQ(inner.DevicePixelRatio(), screen);  // the children first
  };
  QEvent moved(QEvent::ScreenChangeInternal);
  QApplication::sendEvent(&w, &moved);
  EXPECT_EQ(panel.DevicePixelRatio(), screen);
  EXPECT_EQ(panel.Image().width(), static_cast<int>(std::lround(100 * screen)));
  EXPECT_EQ(redraws, 1);
  QApplication::sendEvent(&w, &moved);  // the same screen again: nothing to redraw
  EXPECT_EQ(redraws, 1);
}

TEST(SurfaceWidget, FollowsItsSizeAndForwardsMouseInUserUnits) {
  Surface s(10, 10);
  SurfaceWidget w(s);
  w.resize(220, 220);
  QResizeEvent resize(QSize(220, 220), QSize(10, 10));
  QApplication::sendEvent(&w, &resize);
  EXPECT_EQ(s.WidthPx(), 220);
  s.Scale(-1.1, 1.1, 2.2, -2.2);
  int button = -1;
  float x = 0, y = 0;
  w.onMouseDown = [&](int b, int, float px, float py) { button = b, x = px, y = py; };
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(165, 55), QPointF(165, 55), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&w, &press);
  EXPECT_EQ(button, 1);
  EXPECT_NEAR(x, 0.55, 1e-5);
  EXPECT_NEAR(y, 0.55, 1e-5);
}

// The pixels a needle move repaints: its old and new strokes, not the panel.
TEST(SurfaceWidget, ANeedleMoveRepaintsOnlyItsStrokes) {
  struct Counting : SurfaceWidget {
    using SurfaceWidget::SurfaceWidget;
    qint64 pixels = 0;
    void paintEvent(QPaintEvent* e) override {
      for (const QRect& r : e->region()) pixels += qint64{r.width()} * r.height();
      SurfaceWidget::paintEvent(e);
    }
  };
  DisplayRig rig(1280);
  Counting w(rig.panel());
  w.resize(1280, 800);
  w.show();
  rig.Needle(-6000);
  QApplication::processEvents();
  for (int32_t p : {-3000, 0, 3000, 6000}) {
    w.pixels = 0;
    rig.Needle(p);
    QApplication::processEvents();
    EXPECT_GT(w.pixels, 0);
    EXPECT_LT(w.pixels, 1280 * 800 / 20) << p;  // under 5 % of the panel
  }
}

// The colour the window shows at (x, y) of widget `w`, as 0x00BBGGRR: what its backing
// store holds, read without a round of events.
int32_t Shown(QWidget& w, int x, int y) {
  const QPoint at = w.mapTo(w.window(), QPoint(x, y));
  const QRgb c = w.screen()->grabWindow(w.window()->winId(), at.x(), at.y(), 1, 1).toImage().pixel(0, 0);
  return qRed(c) | qGreen(c) << 8 | qBlue(c) << 16;
}

struct CountingWidget : SurfaceWidget {
  using SurfaceWidget::SurfaceWidget;
  int paints = 0;
  void paintEvent(QPaintEvent* e) override {
    ++paints;
    SurfaceWidget::paintEvent(e);
  }
};

// A reading's drawing reaches the window when the hold ends, in that same event and
// without a paint event: nothing is left for a later round of the event loop, and a
// widget gone meanwhile is skipped.
TEST(SurfaceWidget, HeldDrawingReachesTheWindowWhenTheLastHoldEnds) {
  Surface s(60, 60), gone(20, 20);
  CountingWidget w(s);
  w.resize(60, 60);
  w.show();
  QApplication::processEvents();
  w.paints = 0;
  ASSERT_EQ(Shown(w, 30, 30), White);

  SurfaceWidget::Hold_Repaints();
  SurfaceWidget::Hold_Repaints();
  auto doomed = std::make_unique<SurfaceWidget>(gone);
  doomed->show();
  QApplication::processEvents();
  gone.Circle(10, 10, 5, Red);
  doomed.reset();
  s.FilledBox(25, 25, 35, 35, Red);
  s.FilledBox(5, 5, 10, 10, Blue);
  QApplication::processEvents();
  EXPECT_EQ(Shown(w, 30, 30), White);  // nothing shown while held
  SurfaceWidget::Show_Held();
  EXPECT_EQ(Shown(w, 30, 30), White);  // an inner hold ends: still held
  SurfaceWidget::Show_Held();
  EXPECT_EQ(Shown(w, 30, 30), Red);  // both drawings at once, without a round of events
  EXPECT_EQ(Shown(w, 7, 7), Blue);
  SurfaceWidget::Show_Held();  // one too many is harmless
  QApplication::processEvents();
  EXPECT_EQ(w.paints, 0);  // the repaint manager had nothing left to do

  s.FilledBox(40, 40, 50, 50, Blue);  // not held: left to the event loop as before
  EXPECT_EQ(Shown(w, 45, 45), White);
  QApplication::processEvents();
  EXPECT_EQ(w.paints, 1);
  EXPECT_EQ(Shown(w, 45, 45), Blue);
}

// A surface backed at another ratio than its window's (before it follows a change of
// screen) is scaled into the window by a painter; at the window's ratio its pixels are
// copied as they are. Either way the held drawing shows where it was drawn, and nothing
// beside it.
TEST(SurfaceWidget, HeldDrawingAtEitherRatioShowsWhereItWasDrawn) {
  for (const double factor : {1.0, 1.5, 3.0}) {
    SCOPED_TRACE(factor);
    QWidget window;
    window.resize(120, 80);
    Surface s(60, 40);
    SurfaceWidget* w = new SurfaceWidget(s, &window);
    w->setGeometry(30, 20, 60, 40);
    window.show();
    QApplication::processEvents();
    s.SetDevicePixelRatio(w->devicePixelRatioF() * factor);
    SurfaceWidget::Hold_Repaints();
    s.Cls();
    s.FilledBox(10, 10, 20, 20, Red);
    SurfaceWidget::Show_Held();
    EXPECT_EQ(Shown(*w, 15, 15), Red);
    EXPECT_EQ(Shown(*w, 25, 15), White);
    EXPECT_EQ(Shown(*w, 59, 39), White);
    if (factor == 1) {  // copied as they are: the box's edges to the pixel
      for (int x = 7; x <= 23; ++x) EXPECT_EQ(Shown(*w, x, 15), s.PixelColor(x, 15)) << x;
      for (int y = 7; y <= 23; ++y) EXPECT_EQ(Shown(*w, 15, y), s.PixelColor(15, y)) << y;
    }
  }
}

// Where another widget is drawn over the surface (a later sibling, a child that lets it
// show through, a parent that clips it), the held drawing goes through Qt's repaint, which
// keeps what lies on top; an opaque child is left as it is.
TEST(SurfaceWidget, HeldDrawingKeepsWhatLiesOnTopOfIt) {
  QWidget window;
  window.resize(200, 100);
  QWidget* clip = new QWidget(&window);
  clip->setGeometry(0, 0, 150, 100);
  Surface s(160, 60), inner(20, 20);
  auto* w = new CountingWidget(s, clip);
  w->setGeometry(0, 0, 160, 60);  // its last 10 columns are outside its parent
  auto* opaque = new SurfaceWidget(inner, w);
  opaque->setGeometry(100, 0, 20, 20);
  auto* above = new QWidget(&window);  // stacked over the surface, not its child
  above->setGeometry(40, 0, 20, 20);
  above->setAutoFillBackground(true);
  QPalette green;
  green.setColor(QPalette::Window, QColor(0, 255, 0));
  above->setPalette(green);
  const int32_t Green = 0x00FF00;
  window.show();
  QApplication::processEvents();

  auto drawHeld = [&](double x1, double x2) {
    w->paints = 0;
    SurfaceWidget::Hold_Repaints();
    s.FilledBox(x1, 0, x2, 30, Red);
    SurfaceWidget::Show_Held();
  };
  drawHeld(0, 30);  // nothing over it: straight to the window
  EXPECT_EQ(w->paints, 0);
  EXPECT_EQ(Shown(*w, 10, 10), Red);
  drawHeld(90, 130);  // under the opaque child: around it, straight to the window
  EXPECT_EQ(w->paints, 0);
  EXPECT_EQ(Shown(*w, 95, 10), Red);
  EXPECT_EQ(Shown(*w, 110, 10), White);
  drawHeld(140, 159);  // partly outside the parent
  EXPECT_EQ(Shown(*w, 145, 10), Red);
  EXPECT_EQ(Shown(window, 155, 10), Shown(window, 155, 80));  // the clipped part not drawn
  drawHeld(30, 60);  // under the sibling: repainted by Qt, the sibling kept on top
  EXPECT_EQ(w->paints, 1);
  EXPECT_EQ(Shown(*w, 35, 10), Red);
  EXPECT_EQ(Shown(*w, 50, 10), Green);
}

}  // namespace
}  // namespace zk::test
