#pragma once
// Mean shapes overlaid: each level's mean as a closed outline through its
// landmarks in order (as the shape view draws the consensus) in the level's
// colour, with the landmark numbers once, beside the first shape. Landmarks
// in 3-D are drawn in the shape view's three projections (projections.h).
#include <cstddef>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "plots/scene.h"

namespace lumivar::plots {

struct NamedShape {
  std::string name;          // legend text, e.g. "G1 = male"
  Eigen::RowVectorXd shape;  // flat: k landmarks of the dimension's coordinates
};

// Raises unless the dimension is 2 or 3 and every shape has the first's size.
// Colours follow the order given (group_colour). O(shapes · k).
Scene mean_shapes_scene(const std::vector<NamedShape>& shapes, std::size_t dimension,
                        const std::string& title);

}  // namespace lumivar::plots
