// Build-time tool: draws the program's icon — a meter face with its needle, on a dark
// rounded square — as SVG and as 48 and 256 pixel PNGs, from one list of shapes so the
// three can never differ.
//
//   zk_make_icon OUTPUT_FOLDER   writes zodovaz.svg, zodovaz-48.png and zodovaz-256.png
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kSize = 256.0;  // the drawing's own units; the SVG's view box

struct Point {
  double x, y;
};

// One shape: a filled polygon (fill set), a stroked polyline (stroke set), or both.
struct Shape {
  std::vector<Point> points;
  bool closed = true;
  const char* fill = nullptr;
  const char* stroke = nullptr;
  double width = 0;
};

// Points on a circle, angle in degrees counter-clockwise from 3 o'clock (y grows down).
Point OnCircle(Point c, double r, double degrees) {
  const double a = degrees * M_PI / 180.0;
  return {c.x + r * std::cos(a), c.y - r * std::sin(a)};
}

std::vector<Point> Arc(Point c, double r, double from, double to, int steps = 48) {
  std::vector<Point> pts;
  for (int i = 0; i <= steps; ++i) pts.push_back(OnCircle(c, r, from + (to - from) * i / steps));
  return pts;
}

std::vector<Point> Circle(Point c, double r) {
  auto pts = Arc(c, r, 0, 360, 64);
  pts.pop_back();
  return pts;
}

std::vector<Point> RoundedSquare(double from, double to, double r) {
  std::vector<Point> pts;
  const Point corners[] = {{to - r, from + r}, {from + r, from + r}, {from + r, to - r}, {to - r, to - r}};
  for (int i = 0; i < 4; ++i) {
    auto a = Arc(corners[i], r, 90.0 * i, 90.0 * (i + 1), 12);
    pts.insert(pts.end(), a.begin(), a.end());
  }
  return pts;
}

std::vector<Shape> IconShapes() {
  const Point pivot{128, 176};
  std::vector<Shape> s;
  s.push_back({RoundedSquare(12, 244, 44), true, "#1f3144", nullptr, 0});
  // The face: a cream band over the upper half, the scale line and its ticks.
  auto face = Arc(pivot, 104, 160, 20);
  face.push_back({pivot.x + 20, pivot.y + 14});
  face.push_back({pivot.x - 20, pivot.y + 14});
  s.push_back({face, true, "#f4ecd6", nullptr, 0});
  s.push_back({Arc(pivot, 84, 150, 30), false, nullptr, "#2b2b2b", 6});
  for (int i = 0; i <= 6; ++i) {
    const double deg = 150 - 20.0 * i;
    const double inner = i % 3 == 0 ? 64 : 72;
    s.push_back({{OnCircle(pivot, inner, deg), OnCircle(pivot, 84, deg)}, false, nullptr, "#2b2b2b", 6});
  }
  // The needle, swung a little right of centre, and its pivot.
  s.push_back({{pivot, OnCircle(pivot, 96, 68)}, false, nullptr, "#d22a1e", 9});
  s.push_back({Circle(pivot, 13), true, "#2b2b2b", nullptr, 0});
  // The lamp.
  s.push_back({Circle({196, 214}, 11), true, "#3ccf4e", nullptr, 0});
  return s;
}

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

std::string Svg(const std::vector<Shape>& shapes) {
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
  for (const Shape& sh : shapes) {
    out << "  <" << (sh.closed ? "polygon" : "polyline") << " points=\"";
    for (size_t i = 0; i < sh.points.size(); ++i)
      out << (i ? " " : "") << Num(sh.points[i].x) << "," << Num(sh.points[i].y);
    out << "\" fill=\"" << (sh.fill ? sh.fill : "none") << "\"";
    if (sh.stroke)
      out << " stroke=\"" << sh.stroke << "\" stroke-width=\"" << Num(sh.width)
          << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    out << "/>\n";
  }
  out << "</svg>\n";
  return out.str();
}

QImage Png(const std::vector<Shape>& shapes, int pixels) {
  QImage img(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(pixels / kSize, pixels / kSize);
  for (const Shape& sh : shapes) {
    QPolygonF poly;
    for (const Point& pt : sh.points) poly << QPointF(pt.x, pt.y);
    p.setBrush(sh.fill ? QBrush(QColor(sh.fill)) : QBrush(Qt::NoBrush));
    p.setPen(sh.stroke ? QPen(QColor(sh.stroke), sh.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                       : QPen(Qt::NoPen));
    if (sh.closed)
      p.drawPolygon(poly);
    else
      p.drawPolyline(poly);
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zk_make_icon OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const auto shapes = IconShapes();
  std::ofstream svg(folder + "/zodovaz.svg", std::ios::binary);
  svg << Svg(shapes);
  bool ok = static_cast<bool>(svg.flush());
  for (int px : {48, 256})
    ok = Png(shapes, px).save(QString::fromStdString(folder + "/zodovaz-" + std::to_string(px) + ".png"), "PNG") && ok;
  if (!ok) std::fprintf(stderr, "zk_make_icon: could not write the icon files into %s\n", folder.c_str());
  return ok ? 0 : 1;
}
