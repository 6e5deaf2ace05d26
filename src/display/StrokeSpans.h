#pragma once
// The pixels of a straight stroke with round ends, as one run of pixels per row: every
// pixel whose centre lies within half the pen width of the segment. Building the runs
// takes a few hundred arithmetic steps, so a needle stroke can be drawn, and later erased
// pixel for pixel, without going through a general path filler.
#include <QPointF>
#include <QRect>

#include <vector>

namespace zk {

class StrokeSpans {
 public:
  struct Run {
    int y, x0, x1;  // pixels x0 .. x1 - 1 of row y
    bool operator==(const Run&) const = default;
  };

  StrokeSpans() = default;
  // The stroke from a to b (pixel coordinates, 0 the left or top edge) `width` pixels
  // wide, clipped to `clip`.
  StrokeSpans(QPointF a, QPointF b, double width, const QRect& clip);

  // The pixels whose centres lie within `radius` of `centre` and above it, at most
  // `halfAngle` radians (below a right angle) either side of the vertical: the fan a
  // needle sweeps about its pivot, clipped to `clip`.
  static StrokeSpans Fan(QPointF centre, double radius, double halfAngle, const QRect& clip);
  // What a move from stroke `from` to stroke `to` changes: `gone` gets the pixels only
  // `from` has (to erase), `come` those only `to` has (to paint). Both must be strokes as
  // the constructor builds them, one run a row; a row of `gone` or `come` may hold two.
  // Their earlier runs are dropped and their room kept, so a drawer that keeps the two
  // finds them again without allocating.
  static void Difference(const StrokeSpans& from, const StrokeSpans& to, StrokeSpans& gone, StrokeSpans& come);
  // The runs of `a` and of `b` together in `out` (its room kept, as in Difference): the
  // pixels a move changes, to be shown in one go. Where a and b share pixels, their runs
  // overlap in `out`; it is for Boxes, not for Difference.
  static void Merge(const StrokeSpans& a, const StrokeSpans& b, StrokeSpans& out);

  // Runs are kept top to bottom, and left to right within a row, never overlapping (but
  // see Merge).
  const std::vector<Run>& Runs() const { return runs_; }
  bool Empty() const { return runs_.empty(); }
  QRect Bounds() const { return bounds_; }
  // A few rectangles that hold every run, top to bottom and sharing no row: runs go into
  // one rectangle while it stays within about twice their pixels, so the rectangles follow
  // a slanted stroke, or the scattered edge pixels a small move changes, instead of one box
  // around it. They replace what `out` held; its room is kept, as in Difference.
  void Boxes(std::vector<QRect>& out) const;
  // The same pixels.
  bool operator==(const StrokeSpans& o) const { return runs_ == o.runs_; }

 private:
  // Sets bounds_ from the runs, or from the leftmost and the rightmost (exclusive) column
  // they reach.
  void Close();
  void Close(int left, int right);
  std::vector<Run> runs_;
  QRect bounds_;
};

}  // namespace zk
