#include "plots/shape_change_scene.h"

#include <cmath>

#include "plots/palette.h"
#include "plots/projections.h"
#include "plots/shape_space_parts.h"
#include "runtime/error.h"
#include "runtime/format.h"
#include "shape_space/thin_plate_spline.h"

namespace lumivar::plots {

using shape_space::Landmarks2;

namespace {

constexpr double kPadding = 0.06;

Landmarks2 as_landmarks(const Eigen::RowVectorXd& shape) {
  return Eigen::Map<const Eigen::Matrix<double, Eigen::Dynamic, 2, Eigen::RowMajor>>(shape.data(),
                                                                                   shape.size() / 2, 2);
}

// The grid over the first shape carried by the spline onto the magnified
// second, in grey; the subtitle gives the magnification and the bending
// energies.
void add_spline_grid(Scene& s, parts::Extent2& extent, const Eigen::RowVectorXd& from,
                     const Eigen::RowVectorXd& to, const Eigen::RowVectorXd& drawn, const ShapeChangeOptions& o) {
  const shape_space::ThinPlateSpline spline(as_landmarks(from), as_landmarks(drawn));
  s.subtitle = runtime::format("vectors and grid magnified %g times; bending energy %.4g (unmagnified %.4g)",
                               {o.magnification, spline.bending_energy(),
                                shape_space::ThinPlateSpline(as_landmarks(from), as_landmarks(to))
                                    .bending_energy()});
  for (const auto& line : shape_space::deformed_grid(spline, shape_space::bounding_box(as_landmarks(from)),
                                                      o.grid_cells, 4)) {
    Polyline l;
    l.colour = kGridGrey;
    l.width_px = 0.8;
    for (const Eigen::RowVector2d& q : line) {
      l.points.push_back({q(0), q(1)});
      extent.add(l.points.back());
    }
    s.lines.push_back(std::move(l));
  }
}

}  // namespace

Scene shape_change_scene(const Eigen::RowVectorXd& from, const Eigen::RowVectorXd& to,
                         std::size_t dimension, const ShapeChangeOptions& o) {
  parts::require_landmarks(dimension, from.size(), "picture of shape change");
  if (from.size() != to.size())
    runtime::raise("The two shapes to compare have different numbers of coordinates (" +
                   std::to_string(from.size()) + " and " + std::to_string(to.size()) + ").");
  if (!(o.magnification > 0) || !std::isfinite(o.magnification))
    runtime::raise("The magnification of a shape change must be a positive number.");
  const Eigen::RowVectorXd drawn = from + o.magnification * (to - from);
  const std::size_t k = static_cast<std::size_t>(from.size()) / dimension;
  const bool plane = dimension == 2;

  Scene s;
  s.title = "Shape change from " + o.from_name + " to " + o.to_name;
  s.equal_aspect = true;
  parts::Extent2 extent;
  // The spline's grid is one of the plane; in space the vectors stand alone.
  if (plane)
    add_spline_grid(s, extent, from, to, drawn, o);
  else
    s.subtitle = runtime::format("vectors magnified %g times; front, side and top views; no thin-plate-spline "
                                 "grid for landmarks in 3-D",
                                 {o.magnification});
  const std::vector<parts::Projection> views = parts::projections(dimension, parts::reach_of({from, drawn}));
  for (const parts::Projection& v : views)
    for (std::size_t j = 1; j <= k; ++j) {
      const Point2 a = parts::landmark_point(from, j, dimension, v);
      const Point2 b = parts::landmark_point(drawn, j, dimension, v);
      s.lines.push_back({{a, b}, kObservedMarker, 2, false, false});
      s.points.push_back({b, kObservedMarker, 0, j, 2, 1, false});
      s.points.push_back({a, kInk, 0, j, 3, 1, false});
      s.labels.push_back(parts::landmark_number(a, j, v.centre));
      extent.add(a);
      extent.add(b);
    }
  s.bounds = extent.padded(kPadding);
  parts::name_projections(s, views, kPadding);
  s.legend = {{LegendEntry::Kind::kPoint, kInk, o.from_name},
              {LegendEntry::Kind::kLine, kObservedMarker, "towards " + o.to_name}};
  if (plane) s.legend.push_back({LegendEntry::Kind::kLine, kGridGrey, "thin-plate spline grid"});
  return s;
}

}  // namespace lumivar::plots
