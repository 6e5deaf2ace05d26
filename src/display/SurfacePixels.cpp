// The Surface's direct writes into its image: stroke runs painted in a colour or given
// back from the face, the face itself, and the copy of a rectangle. Everything here is in
// image pixels and bypasses the painter, so an erase repeats a stroke's pixels exactly.
#include <QPainter>

#include <algorithm>

#include "display/Surface.h"

namespace zk {

void Surface::PaintRuns(const StrokeSpans& runs, int32_t color, Tell tell) {
  if (runs.Empty()) return;
  // Runs are clipped to the image when they are built; the clip is kept here too, so runs
  // of an earlier, larger size cannot write outside the image.
  const int width = image_.width(), height = image_.height();
  const QRgb c = ToQColor(color).rgb();
  uchar* const bits = image_.bits();
  const qsizetype stride = image_.bytesPerLine();
  for (const StrokeSpans::Run& run : runs.Runs()) {
    if (run.y < 0 || run.y >= height) continue;
    const int x0 = std::max(0, run.x0), x1 = std::min(width, run.x1);
    if (x0 >= x1) continue;
    auto* line = reinterpret_cast<QRgb*>(bits + run.y * stride);
    std::fill(line + x0, line + x1, c);
  }
  if (tell == Tell::Now) Announce(runs);
}

void Surface::Announce(const StrokeSpans& runs) {
  if (runs.Empty()) return;
  if (!listener_) {
    TouchPx(runs.Bounds());
    return;
  }
  // A few rectangles close about the runs, so only their own pixels are shown again, and
  // the window hears of them once. The rectangles share no row and come top to bottom: a
  // region can take them as they are.
  runs.Boxes(boxes_);
  QRegion shown;
  shown.setRects(boxes_.data(), static_cast<int>(boxes_.size()));
  TouchPx(shown);
}

QImage Surface::Copy(const QRect& px) const {
  Flush();
  return image_.copy(px.intersected(image_.rect()));
}

void Surface::KeepFace() {
  Flush();
  // The copy of the last repaint is written over when the size is the same: a repaint
  // then costs no new buffer.
  faceTiles_.clear();
  if (face_.size() != image_.size() || face_.format() != image_.format()) {
    face_ = image_.copy();
    return;
  }
  std::copy(image_.constBits(), image_.constBits() + image_.sizeInBytes(), face_.bits());
}

const QImage* Surface::Face() const { return !face_.isNull() && face_.size() == image_.size() ? &face_ : nullptr; }

namespace {
// Tiles of 8 x 8 pixels: a needle stroke's row mostly lies in one.
constexpr int TileShift = 3;
}  // namespace

uint8_t Surface::ScanTile(int tx, int ty, QRgb plain) const {
  const int x0 = tx << TileShift, y0 = ty << TileShift;
  const int x1 = std::min(face_.width(), x0 + (1 << TileShift)), y1 = std::min(face_.height(), y0 + (1 << TileShift));
  for (int row = y0; row < y1; ++row) {
    const auto* line = reinterpret_cast<const QRgb*>(face_.constScanLine(row));
    if (!std::all_of(line + x0, line + x1, [&](QRgb p) { return p == plain; })) return 2;
  }
  return 1;
}

void Surface::RestoreFace(const StrokeSpans& runs, int32_t color, Tell tell) {
  if (!Face()) {
    PaintRuns(runs, color, tell);
    return;
  }
  if (runs.Empty()) return;
  // Most of a stroke lies on plain dial: those runs take the colour, and only the runs
  // that touch face detail are copied from the face. Written straight into the image as
  // PaintRuns writes, with the painter left open.
  const QRgb c = ToQColor(color).rgb();
  const int width = image_.width(), height = image_.height();
  const int across = (width >> TileShift) + 1;
  const size_t tileCount = static_cast<size_t>(across) * ((height >> TileShift) + 1);
  if (faceTiles_.size() != tileCount || faceTileColour_ != c) faceTiles_.assign(tileCount, 0);
  faceTileColour_ = c;
  uint8_t* const tiles = faceTiles_.data();
  uchar* const bits = image_.bits();
  const uchar* const from = face_.constBits();
  const qsizetype stride = image_.bytesPerLine(), fromStride = face_.bytesPerLine();
  for (const StrokeSpans::Run& run : runs.Runs()) {
    if (run.y < 0 || run.y >= height) continue;
    const int x0 = std::max(0, run.x0), x1 = std::min(width, run.x1);
    if (x0 >= x1) continue;
    const int ty = run.y >> TileShift;
    bool plain = true;
    for (int tx = x0 >> TileShift; plain && tx <= (x1 - 1) >> TileShift; ++tx) {
      uint8_t& t = tiles[static_cast<size_t>(ty) * across + tx];
      if (t == 0) t = ScanTile(tx, ty, c);
      plain = t == 1;
    }
    auto* line = reinterpret_cast<QRgb*>(bits + run.y * stride);
    if (plain) {
      std::fill(line + x0, line + x1, c);
    } else {
      const auto* src = reinterpret_cast<const QRgb*>(from + run.y * fromStride);
      std::copy(src + x0, src + x1, line + x0);
    }
  }
  if (tell == Tell::Now) Announce(runs);
}

}  // namespace zk
