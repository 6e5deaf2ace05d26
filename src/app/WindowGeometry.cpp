#include "app/WindowGeometry.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "app/OnScreen.h"
#include "app/QtPrompts.h"
#include "base/Numbers.h"

namespace zk {

namespace {

// The window as the designer left it (pixels).
constexpr int DesignLeft = 80, DesignTop = 60, DesignWidth = 600, DesignHeight = 500;

int16_t FitInt16(double twips) { return static_cast<int16_t>(std::clamp(RoundHalfEven(twips), -32768.0, 32767.0)); }

void SetGeometry(QWidget* w, Surface* s, const QRect& r) {
  w->setGeometry(r);
  if (s) s->Resize(r.width(), r.height());
}

void SetBackground(QWidget* w, int32_t color) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, ToQColor(color));
  w->setPalette(pal);
}

}  // namespace

WindowGeometry::WindowGeometry(QMainWindow& window, MeterDisplay& display, const MainWidgets& widgets)
    : window_(window), display_(display), w_(widgets) {}

void WindowGeometry::Design_Geometry() { window_.setGeometry(DesignLeft, DesignTop, DesignWidth, DesignHeight); }

int WindowGeometry::ScreenWidthTwips() const {
  const QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
  return s ? s->geometry().width() * TwipsPerPixel : 1024 * TwipsPerPixel;
}

bool WindowGeometry::PositionKnown() { return !QGuiApplication::platformName().startsWith("wayland"); }

WindowPlacement WindowGeometry::CurrentPlacement(const Settings& kept) const {
  // A maximised window's own geometry can be wider than 16 bits of twips allow, and an
  // out-of-range value makes the next start drop every session value; the normal
  // geometry is the one a restart should restore anyway.
  const bool normal = !(window_.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
  QRect g = normal ? QRect(window_.pos(), window_.size()) : window_.normalGeometry();
  if (!normal && !g.isValid()) g = QRect(window_.pos(), QSize(DesignWidth, DesignHeight));
  WindowPlacement p;
  p.left = PositionKnown() ? FitInt16(double(g.left()) * TwipsPerPixel) : kept.WindowLeft;
  p.top = PositionKnown() ? FitInt16(double(g.top()) * TwipsPerPixel) : kept.WindowTop;
  p.width = FitInt16(double(g.width()) * TwipsPerPixel);
  p.state = static_cast<int16_t>(WindowState());
  return p;
}

void WindowGeometry::Place(const Settings& s) {
  window_.move(static_cast<int>(RoundHalfEven(float(s.WindowLeft) / TwipsPerPixel)),
               static_cast<int>(RoundHalfEven(float(s.WindowTop) / TwipsPerPixel)));
  const int w = static_cast<int>(RoundHalfEven(float(s.WindowWidth) / TwipsPerPixel));
  window_.resize(std::max(1, w), window_.height());
  BringOnScreen();
  if (s.WindowState == 2)
    window_.setWindowState(Qt::WindowMaximized);
  else if (s.WindowState == 1)
    window_.setWindowState(Qt::WindowMinimized);
  else
    window_.setWindowState(Qt::WindowNoState);
}

QPoint InsideWorkArea(const QRect& frame, const QRect& work) {
  const int left = std::max(work.left(), std::min(frame.left(), work.left() + work.width() - frame.width()));
  const int top = std::max(work.top(), std::min(frame.top(), work.top() + work.height() - frame.height()));
  return QPoint(left, top);
}

void WindowGeometry::Keep_In_Work_Area() {
  if (WindowState() != 0 || !PositionKnown()) return;
  const QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  // pos() and move() are the frame's top-left corner.
  const QRect frame(window_.pos(), window_.size() + FrameNow());
  const QPoint inside = InsideWorkArea(frame, s->availableGeometry());
  if (inside != frame.topLeft()) window_.move(inside);
}

void WindowGeometry::BringOnScreen() {
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->geometry();
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary)
    window_.move(OnScreenPosition(QRect(window_.pos(), window_.size()), screens, primary->availableGeometry()));
}

int WindowGeometry::WindowState() const {
  if (window_.isMinimized()) return 1;
  if (window_.isMaximized()) return 2;
  return 0;
}

int32_t WindowGeometry::WindowWidthTwips() const { return window_.width() * TwipsPerPixel; }
int32_t WindowGeometry::WindowHeightTwips() const { return window_.height() * TwipsPerPixel; }

void WindowGeometry::SetWindowWidthTwips(int32_t w) {
  const int px = std::max(1, static_cast<int>(RoundHalfEven(double(w) / TwipsPerPixel)));
  if (px != window_.width()) window_.resize(px, window_.height());
}

void WindowGeometry::SetWindowHeightTwips(int32_t h) {
  const int px = std::max(1, static_cast<int>(RoundHalfEven(double(h) / TwipsPerPixel)));
  if (px != window_.height()) window_.resize(window_.width(), px);
}

// The menu bar is the window's only non-client part here; the client is the rest.
int WindowGeometry::ClientWidth() const { return window_.width(); }

int32_t WindowGeometry::WorkAreaWidthTwips() const {
  const QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
  return (s ? s->availableGeometry().width() : 1024) * TwipsPerPixel;
}

int32_t WindowGeometry::WorkAreaHeightTwips() const {
  const QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
  return (s ? s->availableGeometry().height() : 768) * TwipsPerPixel;
}

SystemMetrics WindowGeometry::Metrics() const {
  SystemMetrics m;
  m.captionHeight = 0;  // the window manager's title bar lies outside the window
  const QMenuBar* bar = window_.menuBar();
  m.menuHeight = bar->isVisible() || !window_.isVisible() ? bar->sizeHint().height() : 0;
  m.frameWidth = 0;
  m.frameHeight = 0;
  return m;
}

QSize WindowGeometry::FrameNow() const {
  const QSize outside = window_.frameGeometry().size() - window_.size();
  return QSize(std::max(0, outside.width()), std::max(0, outside.height()));
}

QSize WindowGeometry::OuterFrameSize() const {
  frameSeen_ = FrameNow();
  return frameSeen_;
}

void WindowGeometry::SetMeterPanelGeometry(const QRect& r) {
  SetGeometry(w_.picMeterPanel, &display_.picMeterPanel, r);
}
void WindowGeometry::SetGraphGeometry(const QRect& r) { SetGeometry(w_.picGraph, &display_.picGraph, r); }
void WindowGeometry::SetRecordPanelGeometry(const QRect& r) { SetGeometry(w_.picRecord, nullptr, r); }
void WindowGeometry::SetFilePositionGeometry(const QRect& r) {
  SetGeometry(w_.picRecord->picFilePosition, &display_.picFilePosition, r);
}
void WindowGeometry::SetKnobGeometry(const QRect& r) { SetGeometry(w_.picKnob, &display_.picKnob, r); }
void WindowGeometry::SetBdGeometry(const QRect& r) { SetGeometry(w_.picBD, &display_.picBD, r); }
int WindowGeometry::TagLabelWidth() const { return w_.picRecord->lblTag->width(); }
void WindowGeometry::SetTagLabelLeft(int left) { w_.picRecord->lblTag->move(left, w_.picRecord->lblTag->y()); }

void WindowGeometry::SetWindowBackColor(int32_t color) { SetBackground(w_.client, color); }
void WindowGeometry::SetRecordPanelBackColor(int32_t color) { SetBackground(w_.picRecord, color); }

int32_t WindowGeometry::AppWorkspaceColor() const { return FromQColor(window_.palette().color(QPalette::Mid)); }
int32_t WindowGeometry::ButtonFaceColor() const { return FromQColor(window_.palette().color(QPalette::Button)); }

void WindowGeometry::SetKnobColors(int32_t color) {
  display_.picKnob.ForeColor = color;
  display_.picKnob.FillColor = color;
}

void WindowGeometry::SetGraphBackColor(int32_t color) { display_.picGraph.SetBackColor(color); }

}  // namespace zk
