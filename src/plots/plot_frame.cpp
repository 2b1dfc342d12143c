#include "plots/plot_frame.h"

#include <algorithm>
#include <cmath>

namespace lumivar::plots {

namespace {

// A box with some extent in both directions, around the same centre.
Box non_degenerate(Box b) {
  if (!(b.width() > 0)) {
    b.x_min -= 0.5;
    b.x_max += 0.5;
  }
  if (!(b.height() > 0)) {
    b.y_min -= 0.5;
    b.y_max += 0.5;
  }
  return b;
}

}  // namespace

double text_width(const std::string& text, double size_px) {
  // Average advance of a proportional sans-serif face: a little over half the size.
  return 0.58 * size_px * static_cast<double>(text.size());
}

PlotFrame::PlotFrame(const Scene& scene, double width_px, double height_px)
    : width_(width_px), height_(height_px) {
  const bool axes = !scene.x_axis.ticks.empty() || !scene.y_axis.ticks.empty();
  double top = kPadding + kTitleSize + 10;
  if (!scene.subtitle.empty()) top += kSubtitleSize + 6;
  double right = kPadding;
  if (!scene.legend.empty()) {
    double widest = 0;
    for (const LegendEntry& e : scene.legend) widest = std::max(widest, text_width(e.text, kSubtitleSize));
    const double legend_width = 28 + widest;
    right += legend_width + kPadding;
    legend_ = {width_px - kPadding - legend_width, top, legend_width,
               kLegendRow * static_cast<double>(scene.legend.size())};
  }
  const double left = axes ? kAxisLeft : kPadding;
  const double bottom = axes ? kAxisBottom : kPadding;
  plot_ = {left, top, std::max(1.0, width_px - left - right), std::max(1.0, height_px - top - bottom)};

  view_ = non_degenerate(scene.bounds);
  if (scene.equal_aspect) {
    const double sx = plot_.width / view_.width();
    const double sy = plot_.height / view_.height();
    if (sx > sy) {  // room to spare across: show more x
      const double half = plot_.width / sy / 2, mid = (view_.x_min + view_.x_max) / 2;
      view_.x_min = mid - half;
      view_.x_max = mid + half;
    } else {
      const double half = plot_.height / sx / 2, mid = (view_.y_min + view_.y_max) / 2;
      view_.y_min = mid - half;
      view_.y_max = mid + half;
    }
  }
}

Point2 PlotFrame::to_pixels(Point2 p) const {
  return {plot_.left + (p.x - view_.x_min) / view_.width() * plot_.width,
          plot_.bottom() - (p.y - view_.y_min) / view_.height() * plot_.height};
}

Point2 PlotFrame::to_data(Point2 px) const {
  return {view_.x_min + (px.x - plot_.left) / plot_.width * view_.width(),
          view_.y_min + (plot_.bottom() - px.y) / plot_.height * view_.height()};
}

std::optional<std::size_t> point_at(const Scene& scene, const PlotFrame& frame, Point2 pixel,
                                    double slack_px) {
  std::optional<std::size_t> best;
  double best_d = 0;
  for (std::size_t i = 0; i < scene.points.size(); ++i) {
    const ScenePoint& p = scene.points[i];
    if (p.row == 0) continue;
    const Point2 at = frame.to_pixels(p.at);
    const double d = std::hypot(at.x - pixel.x, at.y - pixel.y);
    if (d <= p.radius_px + slack_px && (!best || d <= best_d)) {
      best = i;
      best_d = d;
    }
  }
  return best;
}

}  // namespace lumivar::plots
