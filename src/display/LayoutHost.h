#pragma once
// What the window layout needs from the main window: its state and size, the desktop's
// work area, the system metrics and the geometry of the child widgets. The application
// implements it over real widgets; tests drive the layout with a fake.
//
// Units: the window's own width and height and the work area are in twips; everything else
// is in pixels of the main window's client area.
#include <QRect>
#include <QSize>

#include <cstdint>

namespace zk {

struct SystemMetrics {
  int captionHeight = 0;  // title bar
  int menuHeight = 0;     // menu bar
  int frameWidth = 0;     // sizing frame, one side
  int frameHeight = 0;    // sizing frame, top or bottom
};

class LayoutHost {
 public:
  virtual ~LayoutHost() = default;

  // 0 normal, 1 minimised, 2 maximised.
  virtual int WindowState() const = 0;
  virtual int32_t WindowWidthTwips() const = 0;
  virtual int32_t WindowHeightTwips() const = 0;
  // Setting the window's size may raise another resize; the layout tolerates that.
  virtual void SetWindowWidthTwips(int32_t w) = 0;
  virtual void SetWindowHeightTwips(int32_t h) = 0;
  virtual int ClientWidth() const = 0;  // pixels, after any size change made above
  virtual int TwipsPerPixelX() const = 0;
  virtual int TwipsPerPixelY() const = 0;
  virtual int32_t WorkAreaWidthTwips() const = 0;
  virtual int32_t WorkAreaHeightTwips() const = 0;
  virtual SystemMetrics Metrics() const = 0;
  // The window manager's frame and title bar around the window, both sides together, in
  // pixels; zero while the platform has not reported them.
  virtual QSize OuterFrameSize() const { return QSize(0, 0); }

  // Child geometry in client pixels (picKnob and picBD: pixels inside picMeterPanel).
  virtual void SetMeterPanelGeometry(const QRect& r) = 0;
  virtual void SetGraphGeometry(const QRect& r) = 0;
  virtual void SetRecordPanelGeometry(const QRect& r) = 0;
  virtual void SetFilePositionGeometry(const QRect& r) = 0;  // inside picRecord
  virtual void SetKnobGeometry(const QRect& r) = 0;
  virtual void SetBdGeometry(const QRect& r) = 0;
  virtual int TagLabelWidth() const = 0;
  virtual void SetTagLabelLeft(int left) = 0;  // inside picRecord

  virtual void SetWindowBackColor(int32_t color) = 0;
  virtual void SetRecordPanelBackColor(int32_t color) = 0;
  virtual int32_t AppWorkspaceColor() const = 0;  // system colour, 0x00BBGGRR
  virtual int32_t ButtonFaceColor() const = 0;    // system colour, 0x00BBGGRR
};

}  // namespace zk
