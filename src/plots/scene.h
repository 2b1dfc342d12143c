#pragma once
// A picture as data: what a plot shows, in data coordinates, with every
// style decision already taken, so that the SVG writer and the window's
// painter draw the same thing. Builders (shape_scene, histogram_scene) fill
// it; PlotFrame maps it onto a pixel rectangle.
//
// Drawing order: rects, points, lines, labels; the title above the plot
// area, the axes along its left and bottom edges, the legend to its right.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumivar::plots {

struct Point2 {
  double x = 0, y = 0;
};

struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
  // "#rrggbb", lower case.
  std::string hex() const;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// An axis-parallel box, x to the right and y up.
struct Box {
  double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
  bool contains(Point2 p) const {
    return p.x >= x_min && p.x <= x_max && p.y >= y_min && p.y <= y_max;
  }
  double width() const { return x_max - x_min; }
  double height() const { return y_max - y_min; }
};

// A marker: a filled disc. `row` (1-based) is the row of the data it
// belongs to, what hovering over it shows; `landmark` (1-based) the
// landmark, 0 when the point is no landmark.
struct ScenePoint {
  Point2 at;
  Colour colour;
  std::size_t row = 0;
  std::size_t landmark = 0;
  double radius_px = 2.5;
  double opacity = 1;  // 0 transparent .. 1 opaque
  bool ringed = false;  // circled (a specimen to look at): black ring, radius + 3 px
  std::string specimen = {};  // the specimen the row measures, shown on hover; empty: not named
};

struct Polyline {
  std::vector<Point2> points;
  Colour colour;
  double width_px = 1;
  bool closed = false;  // the last point joins the first
  bool dashed = false;
};

// A filled rectangle between two corners in data coordinates.
struct Rect {
  Box box;
  Colour fill;
  Colour stroke;
};

enum class Align { kStart, kMiddle, kEnd };

// Text anchored at a data point, moved by a fixed offset in pixels (right
// and down), so that it keeps its place beside a marker at any size.
struct Label {
  Point2 at;
  std::string text;
  Colour colour;
  Align align = Align::kStart;
  double dx_px = 0, dy_px = 0;
  double size_px = 11;
  bool bold = false;
};

struct Tick {
  double value = 0;
  std::string label;
};

struct Axis {
  std::string title;
  std::vector<Tick> ticks;  // none: the axis is not drawn
};

struct LegendEntry {
  enum class Kind { kPoint, kLine, kDashedLine, kBar };
  Kind kind = Kind::kPoint;
  Colour colour;
  std::string text;
};

struct Scene {
  std::string title;
  std::string subtitle;  // a second, smaller line under the title (may be empty)
  // The data region shown; everything the scene holds lies inside it.
  Box bounds;
  // One data unit as long across as up (shapes); the frame then widens
  // `bounds` along one direction to fill the plot area.
  bool equal_aspect = false;
  Axis x_axis, y_axis;
  std::vector<Rect> rects;
  std::vector<ScenePoint> points;
  std::vector<Polyline> lines;
  std::vector<Label> labels;
  std::vector<LegendEntry> legend;
};

}  // namespace lumivar::plots
