#pragma once
// Every colour of the session picture, chosen to read well on its light background. The
// lamps keep the hues of the meter's own lamps (green SET, blue body motion, red lag).
#include <QRgb>

namespace zk::plot {

struct PlotColors {
  QRgb background = 0xFFFFFF;
  QRgb laneFrame = 0xB4B4B4;
  QRgb grid = 0xE6E6E6;
  QRgb text = 0x202020;
  QRgb faintText = 0x707070;
  QRgb needle = 0x1F4E9C;
  QRgb setMark = 0x2E8B57;
  QRgb scaleEnds = 0x9A9A9A;
  QRgb frozen = 0xD6E2F5;
  QRgb base = 0x7A3E9D;
  QRgb bd = 0xB03A2E;
  QRgb sensitivity = 0x8A6D00;
  QRgb lamps[4] = {0, 0x2EA043, 0x1F6FEB, 0xD1242F};  // by lamp code 1..3
  QRgb raw = 0x262626;
  QRgb tag = 0xE07000;
};

inline constexpr PlotColors PlotPalette{};

}  // namespace zk::plot
