#include "shape_space/thin_plate_spline.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "runtime/error.h"

namespace lumivar::shape_space {

namespace {

double kernel(double r2) { return r2 > 0 ? r2 * std::log(r2) : 0.0; }

Eigen::MatrixXd kernel_matrix(const Landmarks2& a) {
  const Eigen::Index k = a.rows();
  Eigen::MatrixXd K(k, k);
  for (Eigen::Index i = 0; i < k; ++i)
    for (Eigen::Index j = 0; j < k; ++j) K(i, j) = kernel((a.row(i) - a.row(j)).squaredNorm());
  return K;
}

}  // namespace

ThinPlateSpline::ThinPlateSpline(const Landmarks2& from, const Landmarks2& to) : from_(from) {
  const Eigen::Index k = from.rows();
  if (to.rows() != k)
    runtime::raise("A thin-plate spline maps shapes of equal landmark counts; these have " +
                   std::to_string(k) + " and " + std::to_string(to.rows()) + ".");
  if (k < 3) runtime::raise("A thin-plate spline needs at least three landmarks.");
  if (!from.allFinite() || !to.allFinite())
    runtime::raise("A landmark of the shapes to join by a thin-plate spline is not a finite number.");
  // The system [K P; P' 0] [W; A] = [Y; 0]: the weights interpolate the
  // landmarks and carry no affine part of their own.
  const Eigen::MatrixXd K = kernel_matrix(from);
  Eigen::MatrixXd L = Eigen::MatrixXd::Zero(k + 3, k + 3);
  L.topLeftCorner(k, k) = K;
  L.block(0, k, k, 1).setOnes();
  L.block(0, k + 1, k, 2) = from;
  L.block(k, 0, 3, k) = L.block(0, k, k, 3).transpose();
  Eigen::MatrixXd rhs = Eigen::MatrixXd::Zero(k + 3, 2);
  rhs.topRows(k) = to;
  const Eigen::FullPivLU<Eigen::MatrixXd> lu(L);
  if (!lu.isInvertible())
    runtime::raise("The first shape's landmarks lie on one line or coincide, so no thin-plate "
                   "spline maps it onto the second.");
  const Eigen::MatrixXd solution = lu.solve(rhs);
  weights_ = solution.topRows(k);
  affine_ = solution.bottomRows(3);
  bending_energy_ = std::max(0.0, (weights_.transpose() * K * weights_).trace());
}

Eigen::RowVector2d ThinPlateSpline::map(const Eigen::RowVector2d& point) const {
  Eigen::RowVector2d out = affine_.row(0) + point(0) * affine_.row(1) + point(1) * affine_.row(2);
  for (Eigen::Index i = 0; i < from_.rows(); ++i)
    out += kernel((from_.row(i) - point).squaredNorm()) * weights_.row(i);
  return out;
}

GridBox bounding_box(const Landmarks2& landmarks, double margin) {
  const Eigen::RowVector2d lo = landmarks.colwise().minCoeff(), hi = landmarks.colwise().maxCoeff();
  const double pad = margin * std::max(hi(0) - lo(0), hi(1) - lo(1));
  return {lo(0) - pad, hi(0) + pad, lo(1) - pad, hi(1) + pad};
}

std::vector<std::vector<Eigen::RowVector2d>> deformed_grid(const ThinPlateSpline& spline,
                                                          const GridBox& box, int cells, int per_cell) {
  const double w = box.x_max - box.x_min, h = box.y_max - box.y_min;
  const double step = std::max(w, h) / std::max(cells, 1);
  const int across = std::max(1, static_cast<int>(std::ceil(w / step - 1e-9)));
  const int up = std::max(1, static_cast<int>(std::ceil(h / step - 1e-9)));
  // The grid is centred on the box, so both sides get whole cells.
  const double x0 = (box.x_min + box.x_max - across * step) / 2;
  const double y0 = (box.y_min + box.y_max - up * step) / 2;
  const auto line = [&](Eigen::RowVector2d start, Eigen::RowVector2d direction, int length) {
    std::vector<Eigen::RowVector2d> points;
    const int samples = length * std::max(per_cell, 1);
    for (int s = 0; s <= samples; ++s)
      points.push_back(spline.map(start + direction * (step * s / std::max(per_cell, 1))));
    return points;
  };
  std::vector<std::vector<Eigen::RowVector2d>> lines;
  for (int j = 0; j <= up; ++j) lines.push_back(line({x0, y0 + j * step}, {1, 0}, across));
  for (int i = 0; i <= across; ++i) lines.push_back(line({x0 + i * step, y0}, {0, 1}, up));
  return lines;
}

}  // namespace lumivar::shape_space
