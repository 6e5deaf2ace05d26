#pragma once
// The instrument face of picMeterPanel for every dial type and scale type: the traditional
// band with its simple or traditional scale, and the circular disc with 16 or 40 ticks.
#include "core/Context.h"
#include "display/Surface.h"

namespace zk {

// Angles of the traditional dials (radians, counter-clockwise from 3 o'clock).
namespace DialGeometry {
constexpr double Pi = 3.14159;
constexpr double HalfPi = 1.570795;
constexpr double Sweep = 1.9198606;     // 110 degrees of scale
constexpr double HalfSweep = 0.95993;   // 55 degrees either side of the vertical
constexpr double SetOffset = 0.239972;  // SET mark, 13.75 degrees left of the vertical
constexpr double TwoPi = 6.28318;
constexpr double CircularCentreY = 600;  // centre of the circular dials
// The traditional face: a band between radius 465 and 1110 that spans 61.111 degrees
// either side of the vertical.
constexpr double FaceHalfWidth = Sweep / 1.8;
}  // namespace DialGeometry

class Dial {
 public:
  Dial(Context& ctx, Surface& panel);
  // Paints the face of the current DialType and ScaleType; other values paint nothing.
  void Draw_Face();

 private:
  void Traditional_Face(int penWidth);
  void Traditional_Simple_Scale();
  void Traditional_Traditional_Scale();
  void Circular_Face();
  Context& ctx_;
  Surface& panel_;
};

}  // namespace zk
