#pragma once
// What a scene is drawn on: the few marks the scene layout needs, in canvas
// pixels (origin top-left, y down). The SVG writer and the window's painter
// implement it; the layout (draw_scene.h) decides every place, size and
// colour, so the two show the same picture.
#include <optional>
#include <string>
#include <vector>

#include "plots/plot_frame.h"
#include "plots/scene.h"

namespace lumivar::plots {

// Dashed lines: dashes of kDashPx with gaps of kGapPx, whatever the width.
inline constexpr double kDashPx = 5, kGapPx = 3;

struct LineStyle {
  Colour colour;
  double width_px = 1;
  bool dashed = false;
  bool rounded = false;  // round ends and joins; otherwise flat ends and mitred joins
};

struct TextStyle {
  double size_px = 11;
  Colour colour;
  Align align = Align::kStart;
  bool bold = false;
  bool upright = false;  // turned a quarter turn anticlockwise about its anchor, read upwards
};

// How a mark's size came about: measured from the data, or fixed by the
// layout in whole pixels (legend keys). SVG writes the first to two
// decimals and the second as the number it is.
enum class Extent { kMeasured, kFixed };

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Fills the whole canvas, before anything else is drawn.
  virtual void clear(double width, double height, Colour colour) = 0;
  // The border of `r`, 1 px wide; the inside is left as it is.
  virtual void frame(const PixelRect& r, Colour colour) = 0;
  // `r` filled, with an edge `edge_px` wide.
  virtual void box(const PixelRect& r, Colour fill, Colour edge, double edge_px, Extent extent) = 0;
  virtual void line(Point2 from, Point2 to, const LineStyle& style) = 0;
  // Through `points` in order; `closed`: back to the first as well. Not filled.
  virtual void polyline(const std::vector<Point2>& points, bool closed, const LineStyle& style) = 0;
  // A filled disc without an edge; `hover`: what a viewer shows while the
  // pointer rests on it, empty for nothing.
  virtual void disc(Point2 centre, double radius, Colour fill, double opacity, const std::string& hover,
                    Extent extent) = 0;
  // A circle's edge `edge_px` wide, filled when `fill` is given.
  virtual void circle(Point2 centre, double radius, std::optional<Colour> fill, Colour edge,
                      double edge_px) = 0;
  // `text` with its baseline through `at`, anchored there as style.align says.
  virtual void text(Point2 at, const std::string& text, const TextStyle& style) = 0;
  // The marks up to the matching end_clip are cut to `r`. Not nested.
  virtual void begin_clip(const PixelRect& r) = 0;
  virtual void end_clip() = 0;
};

}  // namespace lumivar::plots
