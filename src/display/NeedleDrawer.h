#pragma once
// Draws the needle on picMeterPanel: each move erases the strokes drawn last by painting
// their pixels in the dial colour again, then draws the new ones; a small move does that
// only for the pixels where the old and the new strokes differ. The strokes are kept as
// runs of whole pixels (no antialiasing), so the erase covers exactly the pixels the
// stroke coloured. Where a stroke lies on plain dial the erase is a fill in the dial colour;
// a wide needle that reaches face detail (the hub ring of the circular dials, the inner
// scale arc of the traditional ones on a small panel, the face's edges) has its pixels
// given back from the copy of the face the dial keeps on the surface. A move that would
// colour exactly the pixels already coloured changes nothing on the face and is not drawn:
// a hand at rest does not repaint the panel fifty times a second.
#include <QImage>
#include <QLineF>
#include <QPoint>

#include <cstdint>

#include "core/Context.h"
#include "display/StrokeSpans.h"
#include "display/Surface.h"

namespace zk {

// The strokes on the face, relative to the pivot, kept so the next move can erase them.
struct NeedleStrokes {
  float NeedleX1 = 0, NeedleX2 = 0, NeedleY1 = 0, NeedleY2 = 0;
  float ShadowX1 = 0, ShadowX2 = 0, ShadowY1 = 0, ShadowY2 = 0;
  int16_t ShadowVisible = 0;  // -1 while a shadow stroke is on the face
};

class NeedleDrawer {
 public:
  NeedleDrawer(Context& ctx, Surface& panel);

  // Erases the previous strokes (unless ResetPending says the face is fresh) and draws the
  // needle at position p in the main or the frozen needle colour.
  void Draw(int32_t p);
  // Wipes the needle zone of the face (the caller redraws the banner on traditional dials).
  void Remove_Needle();

  const NeedleStrokes& Strokes() const { return strokes_; }

 private:
  // One-pixel pen, fore and fill colour `color`, solid fill: for the needle-zone wipe.
  void Solid_Pen(int32_t color);
  // A stroke on the face: its pixels, or for a one-pixel needle its line (panel units),
  // and its colour.
  struct Drawn {
    StrokeSpans runs;
    QLineF line;
    QLineF px;       // the same in image pixels, and
    double pen = 0;  // the pen width there (wide strokes only)
    bool thin = false;
    bool plain = false;  // every pixel lies on plain dial: the erase needs no face copy
    int32_t color = 0;
    // No stroke at all (the mirror end or the shadow when there is none).
    bool None() const { return !thin && runs.Empty(); }
    // The same pixels in the same colour; a thin line's pixels are not kept, so never.
    bool Same_Pixels(const Drawn& o) const { return !thin && !o.thin && runs == o.runs && color == o.color; }
  };
  // The stroke between two points in panel units, in the current pen width, not drawn yet;
  // `plain` as Clear_Of_Detail found it.
  Drawn Plan(float x1, float y1, float x2, float y2, int32_t color, bool plain) const;
  // True when a radial stroke from radius r1 to r2 at angle theta (clockwise from 12
  // o'clock) about the dial's pivot, in the current pen width, keeps a few pixels away
  // from everything the face draws besides the plain dial colour.
  bool Clear_Of_Detail(double r1, double r2, double theta) const;
  // Erases the strokes drawn last and draws `next` in their place (see Move_In_Place and Redraw),
  // unless they are the same pixels in the same colours on a face that still shows them.
  void Replace(Drawn (&next)[2]);
  // True when `next` can be drawn by changing only the pixels where it differs from the
  // strokes drawn last: wide strokes in unchanged colours, on a face that nothing drew
  // over since (`over`), each far enough from the other stroke that neither erase can
  // touch the other's pixels, and each moved by less than half its width, so that most of
  // its rows stay as they are (a faster hand changes most pixels of every row, and the
  // whole strokes are drawn for less).
  bool Moves_In_Place(const Drawn (&next)[2], const QRect& over) const;
  // Erases what the last strokes coloured and `next` does not, and paints what `next`
  // colours and they did not. A hand drifting slowly changes a few pixels a move, so the
  // window is sent those and not two whole strokes.
  void Move_In_Place(const Drawn (&next)[2]);
  // Paints d; a wide stroke tells the window of its pixels as `tell` says.
  void Paint(const Drawn& d, Surface::Tell tell = Surface::Tell::Now);
  // Gives `runs` (pixels of the stroke d drawn last) back to the face.
  void Erase(const Drawn& d, const StrokeSpans& runs, Surface::Tell tell = Surface::Tell::Now);
  // The pen ends where drawing d leaves it.
  void Pen_To(const Drawn& d);
  // Gives all the pixels of stroke d back to the face.
  void Erase_Stroke(const Drawn& d, Surface::Tell tell = Surface::Tell::Now);
  // Gives the pixels of the strokes drawn last back to the face, unless ResetPending says
  // the face is fresh, and forgets them.
  void Erase_Or_Forget();
  // Erases and draws the whole strokes: the strokes drawn last go first (unless the face
  // is fresh), then `next` is painted; the window hears of each stroke's old and new
  // pixels together. The caller then keeps `next` as the strokes drawn.
  void Redraw(const Drawn (&next)[2]);
  // The needle zone of a traditional face given back from the kept face; false when no
  // face is kept at this size.
  bool Restore_Arc_Zone();
  Context& ctx_;
  Surface& panel_;
  NeedleStrokes strokes_;
  Drawn drawn_[2];  // the needle and its mirror end or its shadow
  // A move's pixels to erase, to paint, and both, kept for their room.
  StrokeSpans gone_, come_, changed_;
};

}  // namespace zk
