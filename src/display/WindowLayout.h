#pragma once
// Lays the main window out: keeps it wide enough for its content and narrow enough for its
// height to fit the work area, gives the meter panel its 1.6 : 1 shape, stacks the strip
// chart and the record panel beneath it, places the knob and the BD counter in panel
// coordinates, draws the position bar's play range and then repaints the dial and the chart.
#include <QSize>

#include <cstdint>

#include "core/Context.h"
#include "display/LayoutHost.h"

namespace zk {

class MeterDisplay;

// Non-client sizes of the window in pixels, refreshed by Get_Window_Metrics.
struct WindowMetrics {
  int16_t TitleMenuHeight = 0;  // caption + menu bar
  int16_t NonClientHeight = 0;  // 2 x frame height + TitleMenuHeight
  int16_t NonClientWidth = 0;   // 2 x frame width
};

// What the window's height follows besides its width.
struct WindowView {
  bool recordVisible = true;
  int graphFifths = 0;  // the chart's height in fifths of the panel's; 0 while it is hidden
};

// The window's size beyond its content, in pixels: inside the window (the menu bar and any
// frame the layout draws itself) and outside it (the window manager's frame and title bar,
// both sides together; zero while the platform has not reported them).
struct WindowChrome {
  int insideWidth = 0;
  int insideHeight = 0;
  int outsideWidth = 0;
  int outsideHeight = 0;
};

// The record panel's height and the least client width the view needs (pixels).
int RecordPanelHeight(const WindowView& view);
int MinimumClientWidth(const WindowView& view);

// The meter panel's height for a client `width` pixels wide (1.6 : 1), and the chart's for
// a panel that high. Both throw OverflowError beyond 16 bits.
int16_t PanelHeightFor(int width);
int16_t GraphHeightFor(int16_t panelHeight, int graphFifths);

// The window's height (outside frame not included) that the normal layout gives a window
// `width` pixels wide: its height always follows its width. Throws OverflowError as above.
int NormalWindowHeight(int width, const WindowView& view, const WindowChrome& chrome);

// The window width to use instead of `wanted` so that the whole window, outside frame
// included, fits `workArea`: `wanted` itself when the window fits, else the widest width
// whose height fits, but never narrower than the view's minimum width. The minimum gives way
// only to a work area narrower than itself (the layout then warns about the record panel);
// the result is at least one pixel.
int FitWindowWidth(QSize workArea, const WindowView& view, const WindowChrome& chrome, int wanted);

class WindowLayout {
 public:
  // The work area is reported in twips and turned into pixels with this fixed factor.
  static constexpr int WorkAreaTwipsPerPixel = 15;

  WindowLayout(Context& ctx, MeterDisplay& display, LayoutHost& host);

  // The main window's resize event; also called after every change of the view.
  // A statement that fails is skipped and the layout goes on with the next one.
  void Form_Resize();
  // Refills the window metrics from the host's system metrics (start-up and every display
  // or work-area change). A sum beyond 16 bits throws OverflowError and keeps the old values.
  void Get_Window_Metrics();
  // Display or work-area change: metrics again, then a new layout.
  void SysInfo_DisplayChanged();

  const WindowMetrics& Metrics() const { return metrics_; }

 private:
  void Layout_Normal(const WindowView& view, int16_t& graphH);
  void Fit_Work_Area(const WindowView& view);
  void Layout_Maximised(int16_t recH, int16_t gh, int16_t& graphH);
  void Place_Children(int16_t recH, int16_t graphH);
  void Draw_Position_Bar();

  Context& ctx_;
  MeterDisplay& display_;
  LayoutHost& host_;
  WindowMetrics metrics_;
  QRect panel_;         // picMeterPanel in client pixels, as last set
  int16_t graphH_ = 0;  // picGraph height, as last set
};

}  // namespace zk
