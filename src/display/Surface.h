#pragma once
// A retained drawing surface with the picture-box model the display procedures are written
// against: a user scale, back/fore/fill colours, fill style, pen width in pixels, a current
// position, lines, filled boxes, circles, arcs and sectors, dots and text with measurement.
// What is drawn stays in the image until it is cleared. Colours are 0x00BBGGRR int32 values
// outside this class; they become QColor only here.
//
// Every drawing call grows a dirty rectangle and notifies a listener, so a widget that shows
// the surface repaints only what changed.
//
// Sizes, pen widths, fonts and the pixel coordinates of PxX and friends are in the widget's
// pixels. The image behind them is the device pixel ratio times larger (a 2x screen gets
// four image pixels for each of them), so lines and text are drawn at the screen's own
// resolution. Stroke runs, the face, Copy and the dirty rectangles are in image pixels.
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QRect>
#include <QRectF>
#include <QRegion>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/StrokeSpans.h"

class QPainter;

namespace zk {

class Surface {
 public:
  // How the scale follows a change of size. Pixel and Point keep their unit (the scale's
  // width and height follow the size); User keeps the numbers set by Scale().
  enum class ScaleMode { User, Pixel, Point };
  static constexpr int FillSolid = 0;
  static constexpr int FillTransparent = 1;
  // Screen resolution used for every point-to-pixel conversion: 1 pt = 96/72 px.
  static constexpr double PixelsPerPoint = 96.0 / 72.0;

  explicit Surface(int widthPx = 1, int heightPx = 1);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // New size in pixels (at least 1 x 1). What was drawn is kept at the top-left corner;
  // the new area takes the back colour. The same size is a no-op.
  void Resize(int widthPx, int heightPx);
  int WidthPx() const { return width_px_; }
  int HeightPx() const { return height_px_; }

  // Image pixels per widget pixel. A change rebuilds the image at the new resolution with
  // what was drawn scaled into it (softly, until it is drawn again) and drops the face.
  void SetDevicePixelRatio(double ratio);
  double DevicePixelRatio() const { return ratio_; }
  // A point in user units, and a length in widget pixels, in image pixels; the image's
  // own rectangle. Stroke runs are built in these.
  QPointF DevicePoint(double x, double y) const { return {PxX(x) * ratio_, PxY(y) * ratio_}; }
  double DeviceLength(double px) const { return px * ratio_; }
  QRect DeviceRect() const { return image_.rect(); }

  // User scale: x_px = (x - left) / width * pixel width, likewise y; a negative height makes
  // y grow upward.
  void Scale(double left, double top, double width, double height);
  void SetScaleMode(ScaleMode m);  // Pixel or Point: the unit's own scale from (0, 0)
  double ScaleLeft() const { return left_; }
  double ScaleTop() const { return top_; }
  double ScaleWidth() const { return width_; }
  double ScaleHeight() const { return height_; }

  // User units <-> pixels (pixel coordinates are fractional; 0 is the left/top edge).
  double PxX(double x) const;
  double PxY(double y) const;
  double UserX(double px) const;
  double UserY(double py) const;
  // A length along x in user units, in pixels (always positive).
  double PxLenX(double len) const;

  // Setting the back colour clears the surface to it (as Cls does).
  void SetBackColor(int32_t c);
  int32_t BackColor() const { return back_; }
  int32_t ForeColor = 0;
  int32_t FillColor = 0;
  int FillStyle = FillTransparent;
  int DrawWidth = 1;             // pen width in pixels
  bool FontTransparent = false;  // false: Print fills the text's box with BackColor first
  bool Antialiased = true;       // needle strokes turn this off so that an erase is exact
  double CurrentX = 0;
  double CurrentY = 0;

  void SetFontName(const std::string& name);
  void SetFontSize(double points);  // sizes below 1 point are drawn at 1 point
  void SetFontBold(bool b);
  void SetFontItalic(bool b);

  // Clears to the back colour and puts the current position at (0, 0).
  void Cls();
  // A line with round ends, DrawWidth pixels wide, in `color` (ForeColor when absent);
  // the current position moves to (x2, y2).
  void Line(double x1, double y1, double x2, double y2, std::optional<int32_t> color = {});
  // Many lines (user units) as Line draws them, in one colour and one pass of the painter;
  // the current position moves to the end of the last.
  void Lines(const std::vector<QLineF>& lines, int32_t color);
  // A filled box between two corners (the "BF" form of Line).
  void FilledBox(double x1, double y1, double x2, double y2, std::optional<int32_t> color = {});
  // A full circle (no angles) or an arc drawn counter-clockwise from start to end, angles
  // in radians from 3 o'clock as seen on the screen. A negative angle stands for its
  // absolute value and also draws the radius to that end; both negative is a sector.
  // Full circles and sectors are filled with FillColor when FillStyle is solid. The radius
  // is in x units.
  void Circle(double x, double y, double r, std::optional<int32_t> color = {}, std::optional<double> start = {},
              std::optional<double> end = {});
  // A point: one pixel, or a round dot of DrawWidth diameter when DrawWidth > 1.
  void PSet(double x, double y, std::optional<int32_t> color = {});
  // Prints text with its top-left corner at the current position in ForeColor. Afterwards
  // the current position is at the start of the next line.
  void Print(const std::string& text);
  // Fills the box Print would give `text` at the current position with the back colour,
  // without printing; the position stays. Wipes what a text printed there before.
  void WipeText(const std::string& text);
  // Whether a write of runs tells the window of its pixels at once, or leaves that to one
  // Announce after several writes (a move's erase and paint, sent as one set of pixels).
  enum class Tell { Now, Later };
  // Paints the pixels of `runs` in `color`. Written straight into the image, aliased, so
  // painting the same runs again in the colour underneath restores it exactly.
  void PaintRuns(const StrokeSpans& runs, int32_t color, Tell tell = Tell::Now);
  // A copy of a rectangle of the image (image pixels; clipped to the image).
  QImage Copy(const QRect& px) const;
  // Keeps a copy of the whole image as the face: the background that drawers which erase
  // their own marks (the needle, the lamp) give back pixel for pixel.
  void KeepFace();
  // The face kept last, or null when none was kept at the present size.
  const QImage* Face() const;
  // Paints the pixels of `runs` from the face; in `color` where no face is kept.
  void RestoreFace(const StrokeSpans& runs, int32_t color, Tell tell = Tell::Now);
  // Tells the window of the pixels of `runs`, written with Tell::Later.
  void Announce(const StrokeSpans& runs);
  // Text extent in user units; with an upward y axis TextHeight is negative.
  double TextWidth(const std::string& text) const;
  double TextHeight(const std::string& text) const;

  const QImage& Image() const;
  // The colour of one widget pixel as 0x00BBGGRR: the image pixel at its centre
  // (out-of-range coordinates answer -1).
  int32_t PixelColor(int px, int py) const;
  // The region changed since the last TakeDirty(), in image pixels (empty when none).
  QRect Dirty() const { return dirty_; }
  QRect TakeDirty();
  // What was drawn since the last TakeDrawn(), as one rectangle in pixels: lets a drawer
  // that keeps its own strokes on the face tell whether anything drew over them.
  QRect TakeDrawn();
  // Called with each changed region (widget pixels) right after the change.
  void SetChangeListener(std::function<void(const QRegion&)> f) { listener_ = std::move(f); }

  // Maps the font names the layout uses to installed fonts of the same metrics (once).
  static void Map_Font_Names();

  static QColor ToQColor(int32_t c);
  static int32_t FromQColor(const QColor& c);

 private:
  void Touch(const QRectF& r);
  void TouchPx(const QRect& r);
  void TouchPx(const QRegion& r);
  // The box Print gives `text` at the current position, in pixels.
  QRectF TextBox(const std::string& text, const QFont& f) const;
  void ApplyModeScale();
  // A blank image of w x h widget pixels at the present ratio, in the back colour.
  QImage NewImage(int w, int h) const;
  QFont Font() const;
  // One painter stays open across drawing calls (opening one per call costs more than a
  // short line); it is closed before the image is read or changed directly.
  QPainter& Painter();
  void Flush() const;

  QImage image_;
  // 1 when the face's tile (tx, ty) is all `plain`, else 2.
  uint8_t ScanTile(int tx, int ty, QRgb plain) const;

  QImage face_;  // see KeepFace
  // Per tile of the face: 0 not looked at, 1 all one colour (faceTileColour_), 2 detail.
  std::vector<uint8_t> faceTiles_;
  QRgb faceTileColour_ = 0;
  mutable std::unique_ptr<QPainter> painter_;
  int width_px_ = 1, height_px_ = 1;
  double ratio_ = 1;
  ScaleMode mode_ = ScaleMode::Pixel;
  double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
  int32_t back_ = 0xFFFFFF;
  std::string fontName_ = "Aerial";
  double fontPoints_ = 8.25;
  bool bold_ = false, italic_ = false;
  QRect dirty_;
  std::function<void(const QRegion&)> listener_;
  std::vector<QRect> boxes_;  // Announce's rectangles, kept for their room
  QRect drawn_;               // see TakeDrawn
};

}  // namespace zk
