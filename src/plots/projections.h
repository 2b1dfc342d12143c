#pragma once
// How configurations of landmarks lie on a flat picture: landmarks in the
// plane as they are; landmarks in space as three orthogonal projections side
// by side, in one unit: front (x across, y up), side (z across, y up) and top
// (x across, z up), each named above it. The shape view and the pictures of
// shape change and mean shapes lay their shapes out alike.
#include <cstddef>
#include <vector>

#include <Eigen/Dense>

#include "plots/scene.h"

namespace lumivar::plots::parts {

// One view of the configurations.
struct Projection {
  std::size_t across = 0, up = 1;  // the coordinates drawn across and up (0 x, 1 y, 2 z)
  Point2 centre;                   // where the view's origin lies in the scene
  const char* name = "";           // empty for the one view of landmarks in the plane

  // A landmark whose coordinate i is `coordinate(i)`, as this view shows it.
  template <class Coordinate>
  Point2 show(const Coordinate& coordinate) const {
    return {coordinate(across) + centre.x, coordinate(up) + centre.y};
  }
};

// One view for landmarks of two coordinates; for three, the front, side and
// top views in a row, their centres far enough apart that no two overlap for
// shapes centred on the origin whose coordinates are at most `reach` in size.
std::vector<Projection> projections(std::size_t dimension, double reach);

// The largest finite |coordinate| among `shapes` (flat: k landmarks of d coordinates).
double reach_of(const std::vector<Eigen::Ref<const Eigen::RowVectorXd>>& shapes);

// Landmark j (1-based) of a flat shape of `dimension` coordinates per
// landmark, as `v` shows it.
Point2 landmark_point(const Eigen::RowVectorXd& shape, std::size_t j, std::size_t dimension,
                      const Projection& v = {});

// Names each view above it, inside the scene's bounds, which are raised for
// the names by as much again as they were padded (`padding`: the fraction
// of the longer side given to Extent2::padded). Nothing for a single view.
void name_projections(Scene& s, const std::vector<Projection>& views, double padding);

}  // namespace lumivar::plots::parts
