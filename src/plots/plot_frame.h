#pragma once
// Where a scene goes on a canvas of a given size in pixels: the title band,
// the plot area with its axes, the legend column, and the mapping between
// data coordinates (y up) and pixels (origin top-left, y down). The scene
// layout (draw_scene.h) places every mark through it, so a pixel the mouse
// points at maps back to the point drawn there.
#include <cstddef>
#include <optional>

#include "plots/scene.h"

namespace lumivar::plots {

struct PixelRect {
  double left = 0, top = 0, width = 0, height = 0;
  double right() const { return left + width; }
  double bottom() const { return top + height; }
};

class PlotFrame {
 public:
  // Fixed margins (in pixels) around the plot area; a canvas too small for
  // them still gets a plot area of at least 1 x 1 pixel.
  static constexpr double kPadding = 12;
  static constexpr double kTitleSize = 15;     // title font size
  static constexpr double kSubtitleSize = 11;  // subtitle, tick and legend font size
  static constexpr double kAxisLeft = 64;      // room for y tick labels and the y axis title
  static constexpr double kAxisBottom = 44;    // room for x tick labels and the x axis title
  static constexpr double kLegendRow = 18;     // height of one legend entry

  PlotFrame(const Scene& scene, double width_px, double height_px);

  double width() const { return width_; }
  double height() const { return height_; }
  const PixelRect& plot_area() const { return plot_; }
  // Empty (width 0) when the scene has no legend.
  const PixelRect& legend_area() const { return legend_; }
  // Baselines of the title and subtitle.
  double title_baseline() const { return kPadding + kTitleSize; }
  double subtitle_baseline() const { return title_baseline() + kSubtitleSize + 6; }
  // The data region drawn in the plot area: the scene's bounds, widened
  // along one direction when the scene asks for equal aspect.
  const Box& view() const { return view_; }

  Point2 to_pixels(Point2 data) const;
  Point2 to_data(Point2 pixel) const;

 private:
  double width_, height_;
  PixelRect plot_, legend_;
  Box view_;
};

// Rough width in pixels of `text` at font size `size_px` in a sans-serif
// face, for laying out the legend.
double text_width(const std::string& text, double size_px);

// The scene point whose marker is under `pixel`: the nearest one within its
// radius plus `slack_px`; among equally near points the one drawn last (on
// top). Points with row 0 (not a row of the data) are skipped. Returns the
// index into scene.points. O(number of points).
std::optional<std::size_t> point_at(const Scene& scene, const PlotFrame& frame, Point2 pixel,
                                    double slack_px = 3);

}  // namespace lumivar::plots
