#include "plots/projections.h"

#include <algorithm>
#include <cmath>

#include "plots/palette.h"

namespace lumivar::plots::parts {

std::vector<Projection> projections(std::size_t dimension, double reach) {
  if (dimension != 3) return {Projection{}};
  // Each view fits in a square of twice the reach; the rest is room for the
  // landmark numbers between them.
  const double step = 2.6 * std::max(reach, 1e-9);
  return {{0, 1, {0, 0}, "front (x, y)"}, {2, 1, {step, 0}, "side (z, y)"}, {0, 2, {2 * step, 0}, "top (x, z)"}};
}

double reach_of(const std::vector<Eigen::Ref<const Eigen::RowVectorXd>>& shapes) {
  double reach = 0;
  for (const auto& s : shapes)
    for (const double v : s)
      if (std::isfinite(v)) reach = std::max(reach, std::abs(v));
  return reach;
}

Point2 landmark_point(const Eigen::RowVectorXd& shape, std::size_t j, std::size_t dimension,
                      const Projection& v) {
  const auto first = static_cast<Eigen::Index>(dimension * (j - 1));
  return v.show([&](std::size_t i) { return shape(first + static_cast<Eigen::Index>(i)); });
}

void name_projections(Scene& s, const std::vector<Projection>& views, double padding) {
  if (views.size() < 2) return;
  s.bounds.y_max += padding / (1 + 2 * padding) * std::max(s.bounds.width(), s.bounds.height());
  for (const Projection& v : views) {
    Label l;
    l.at = {v.centre.x, s.bounds.y_max};
    l.text = v.name;
    l.colour = kInk;
    l.align = Align::kMiddle;
    l.dy_px = 14;
    s.labels.push_back(l);
  }
}

}  // namespace lumivar::plots::parts
