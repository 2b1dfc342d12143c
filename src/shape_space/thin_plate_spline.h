#pragma once
// The thin-plate spline from one two-dimensional shape to another: the
// smoothest map of the plane (least bending) that carries every landmark of
// the first shape exactly onto the same landmark of the second. It splits
// into an affine part (a uniform stretch, shear, rotation and shift) and a
// non-affine part, whose size is the bending energy; deformation grids show
// the map by carrying a square grid over the first shape.
//
// Kernel U(r) = r^2 log r^2 (U(0) = 0). Two-dimensional only.
#include <vector>

#include <Eigen/Dense>

namespace lumivar::shape_space {

using Landmarks2 = Eigen::Matrix<double, Eigen::Dynamic, 2>;  // k x 2, one landmark per row

class ThinPlateSpline {
 public:
  // Fits the spline from `from` to `to` (both k x 2, k >= 3). Raises when
  // the sizes differ, a coordinate is not finite, or the first shape's
  // landmarks lie on one line or two of them coincide (no unique spline).
  // Cost: O(k^3).
  ThinPlateSpline(const Landmarks2& from, const Landmarks2& to);

  // The image of point (x, y). O(k).
  Eigen::RowVector2d map(const Eigen::RowVector2d& point) const;

  // trace(W' K W) with W the non-affine weights and K the kernel matrix of
  // the first shape: zero exactly when the change is affine, in the squared
  // units of the coordinates.
  double bending_energy() const { return bending_energy_; }
  // Rows: constant, x, y; columns: the x and y of the image, so that the
  // affine part maps (x, y) to [1 x y] · affine().
  const Eigen::Matrix<double, 3, 2>& affine() const { return affine_; }
  const Landmarks2& weights() const { return weights_; }

 private:
  Landmarks2 from_, weights_;
  Eigen::Matrix<double, 3, 2> affine_;
  double bending_energy_ = 0;
};

// A square grid over `box` (x_min, x_max, y_min, y_max) of `cells` cells
// along its longer side, carried through `spline`: one polyline per grid
// line (the horizontal ones first, bottom to top, then the vertical ones,
// left to right), each sampled `per_cell` times per cell so that bends show.
struct GridBox {
  double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
};
std::vector<std::vector<Eigen::RowVector2d>> deformed_grid(const ThinPlateSpline& spline,
                                                          const GridBox& box, int cells = 12,
                                                          int per_cell = 4);

// The bounding box of `landmarks`, widened by `margin` times its longer side
// on every side.
GridBox bounding_box(const Landmarks2& landmarks, double margin = 0.1);

}  // namespace lumivar::shape_space
