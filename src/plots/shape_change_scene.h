#pragma once
// The change from one shape to another (two group means, the two
// measurements, or the two ends of a principal component): the landmarks of
// the first shape with a vector to where each lies in the second, and a
// square grid over the first shape carried by the thin-plate spline between
// them. Differences between mean shapes are small, so vectors and grid are
// magnified by a factor the picture states. Landmarks in 3-D are drawn as
// the shape view draws them (projections.h), with their vectors and no grid
// (the spline here is one of the plane); the subtitle says so.
#include <cstddef>
#include <string>

#include <Eigen/Dense>

#include "plots/scene.h"

namespace lumivar::plots {

struct ShapeChangeOptions {
  std::string from_name = "first shape", to_name = "second shape";
  double magnification = 1;  // the change drawn is this many times the real one
  int grid_cells = 12;       // grid cells along the longer side
};

// `from`, `to`: flat shapes of k landmarks of `dimension` coordinates.
// Raises unless the dimension is 2 or 3, the shapes have one size, the
// magnification is a positive finite number, and (in 2-D) the thin-plate
// spline exists (thin_plate_spline.h). O(k^3 + grid points · k).
Scene shape_change_scene(const Eigen::RowVectorXd& from, const Eigen::RowVectorXd& to,
                         std::size_t dimension, const ShapeChangeOptions& options = {});

}  // namespace lumivar::plots
