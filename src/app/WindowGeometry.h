#pragma once
// The main window's geometry as the layout, the colour commands and the session see it:
// sizes and the work area in twips, the metrics, the places and colours of the panels,
// the placement the session file stores and the one start-up restores.
#include <QMainWindow>

#include "app/RecordPanel.h"
#include "app/SettingsMenu.h"
#include "core/SessionFile.h"
#include "display/LayoutHost.h"
#include "display/MeterDisplay.h"
#include "display/SurfaceWidget.h"

namespace zk {

// The window's widgets, made by the window.
struct MainWidgets {
  QWidget* client = nullptr;
  SurfaceWidget* picMeterPanel = nullptr;
  SurfaceWidget* picKnob = nullptr;
  SurfaceWidget* picBD = nullptr;
  SurfaceWidget* picGraph = nullptr;
  RecordPanel* picRecord = nullptr;
};

class WindowGeometry : public LayoutHost, public ColourTargets {
 public:
  static constexpr int TwipsPerPixel = 15;

  // `widgets` is filled in by the window before the first layout.
  WindowGeometry(QMainWindow& window, MeterDisplay& display, const MainWidgets& widgets);

  // The window as the designer left it, before start-up places it.
  void Design_Geometry();
  int ScreenWidthTwips() const;
  // The placement as the session file stores it: twips that fit 16 bits. A maximised or
  // minimised window gives its normal geometry. Where the platform does not tell a
  // window its position (Wayland), the left and top are the ones in `kept`.
  WindowPlacement CurrentPlacement(const Settings& kept) const;
  // Whether the platform tells a window where it is on the screen: a Wayland compositor
  // places windows itself and keeps their position from them.
  static bool PositionKnown();
  // Moves and sizes the window as the settings say; a window no screen would show goes
  // back onto the primary screen.
  void Place(const Settings& s);
  // Moves a window in the normal state so that it lies inside its screen's work area, frame
  // included, as far as it fits: its left and top never outside it. Where the platform does
  // not tell a window its position (Wayland), nothing moves.
  void Keep_In_Work_Area();
  // Whether the window manager's frame has changed since the layout last asked for it:
  // it is first known only after the window is shown.
  bool Frame_Changed() const { return FrameNow() != frameSeen_; }

  // LayoutHost.
  int WindowState() const override;
  int32_t WindowWidthTwips() const override;
  int32_t WindowHeightTwips() const override;
  void SetWindowWidthTwips(int32_t w) override;
  void SetWindowHeightTwips(int32_t h) override;
  int ClientWidth() const override;
  int TwipsPerPixelX() const override { return TwipsPerPixel; }
  int TwipsPerPixelY() const override { return TwipsPerPixel; }
  int32_t WorkAreaWidthTwips() const override;
  int32_t WorkAreaHeightTwips() const override;
  SystemMetrics Metrics() const override;
  QSize OuterFrameSize() const override;
  void SetMeterPanelGeometry(const QRect& r) override;
  void SetGraphGeometry(const QRect& r) override;
  void SetRecordPanelGeometry(const QRect& r) override;
  void SetFilePositionGeometry(const QRect& r) override;
  void SetKnobGeometry(const QRect& r) override;
  void SetBdGeometry(const QRect& r) override;
  int TagLabelWidth() const override;
  void SetTagLabelLeft(int left) override;
  void SetWindowBackColor(int32_t color) override;
  void SetRecordPanelBackColor(int32_t color) override;
  int32_t AppWorkspaceColor() const override;
  int32_t ButtonFaceColor() const override;

  // ColourTargets.
  void SetKnobColors(int32_t color) override;
  void SetGraphBackColor(int32_t color) override;

 private:
  void BringOnScreen();
  QSize FrameNow() const;
  QMainWindow& window_;
  MeterDisplay& display_;
  const MainWidgets& w_;
  mutable QSize frameSeen_;  // the frame as the layout last saw it
};

// The top-left corner for a window whose frame is `frame` so that it lies inside `work`:
// moved left and up as far as needed for its right and bottom edges, but never past the
// work area's left and top edges (a window larger than the work area keeps those).
QPoint InsideWorkArea(const QRect& frame, const QRect& work);

}  // namespace zk
