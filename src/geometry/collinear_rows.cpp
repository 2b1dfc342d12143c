#include "geometry/collinear_rows.h"

#include <Eigen/Eigenvalues>

#include "geometry/centpos.h"

namespace lumivar::geometry {

std::vector<std::size_t> collinear_rows(const runtime::Matrix& data, std::size_t d) {
  std::vector<std::size_t> rows;
  if (d < 2 || d > 3 || data.cols() < 1) return rows;
  const std::size_t coords = data.cols() - 1;
  const std::size_t k = coords / d;
  std::vector<double> row(coords);
  for (std::size_t i = 1; i <= data.rows(); ++i) {
    for (std::size_t c = 0; c < coords; ++c) row[c] = data(i, c + 1);
    double centre[3];
    detail::centroid(row.data(), coords, centre, d);
    Eigen::Matrix3d scatter = Eigen::Matrix3d::Zero();
    for (std::size_t j = 0; j < k; ++j) {
      Eigen::Vector3d v = Eigen::Vector3d::Zero();
      for (std::size_t a = 0; a < d; ++a) v(static_cast<Eigen::Index>(a)) = row[d * j + a] - centre[a];
      scatter += v * v.transpose();
    }
    if (!scatter.allFinite() || !(scatter.trace() > 0)) continue;
    // Eigenvalues ascending: the variances along the principal axes, the
    // squares of the singular values of the centred landmarks.
    const Eigen::Vector3d var = Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d>(scatter).eigenvalues();
    // Rounding of the eigenvalues leaves about 1e-16 of the largest in the
    // others even for landmarks exactly on a line.
    if (var(1) <= 1e-14 * var(2)) rows.push_back(i);
  }
  return rows;
}

}  // namespace lumivar::geometry
