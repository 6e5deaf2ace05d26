#pragma once
// Lays the main window out: keeps it wide enough for its content, gives the meter panel its
// 1.6 : 1 shape, stacks the strip chart and the record panel beneath it, places the knob
// and the BD counter in panel coordinates, draws the position bar's play range and then
// repaints the dial and the chart.
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
  void Layout_Normal(int16_t recH, int16_t minW, int16_t gh, int16_t& graphH);
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
