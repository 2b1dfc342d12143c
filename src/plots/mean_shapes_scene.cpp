#include "plots/mean_shapes_scene.h"

#include "plots/palette.h"
#include "plots/projections.h"
#include "plots/shape_space_parts.h"
#include "runtime/error.h"

namespace lumivar::plots {

Scene mean_shapes_scene(const std::vector<NamedShape>& shapes, std::size_t dimension,
                        const std::string& title) {
  constexpr double kPadding = 0.08;
  const Eigen::Index size = shapes.empty() ? 0 : shapes.front().shape.size();
  parts::require_landmarks(dimension, size, "picture of mean shapes");
  std::vector<Eigen::Ref<const Eigen::RowVectorXd>> all;
  for (const NamedShape& shape : shapes) {
    if (shape.shape.size() != size)
      runtime::raise("The mean shape of " + shape.name + " has " + std::to_string(shape.shape.size()) +
                     " coordinates, the first has " + std::to_string(size) + ".");
    all.emplace_back(shape.shape);
  }
  Scene s;
  s.title = title;
  s.equal_aspect = true;
  parts::Extent2 extent;
  const std::size_t k = static_cast<std::size_t>(size) / dimension;
  const std::vector<parts::Projection> views = parts::projections(dimension, parts::reach_of(all));
  for (std::size_t g = 0; g < shapes.size(); ++g) {
    const Colour colour = group_colour(g);
    for (const parts::Projection& v : views) {
      Polyline outline;
      outline.colour = colour;
      outline.width_px = 1.8;
      outline.closed = true;
      for (std::size_t j = 1; j <= k; ++j) {
        const Point2 p = parts::landmark_point(shapes[g].shape, j, dimension, v);
        outline.points.push_back(p);
        s.points.push_back({p, colour, 0, j, 3, 1, false});
        extent.add(p);
        if (g == 0) s.labels.push_back(parts::landmark_number(p, j, v.centre));
      }
      s.lines.push_back(std::move(outline));
    }
    s.legend.push_back({LegendEntry::Kind::kLine, colour, shapes[g].name});
  }
  s.subtitle = std::to_string(shapes.size()) + " mean shape" + (shapes.size() == 1 ? "" : "s") + ", " +
               std::to_string(k) + " landmarks" + (dimension == 3 ? " (3-D)" : "");
  s.bounds = extent.padded(kPadding);
  parts::name_projections(s, views, kPadding);
  return s;
}

}  // namespace lumivar::plots
