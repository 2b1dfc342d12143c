#include "geometry/rotation_3d.h"

#include <cmath>
#include <limits>

#include <Eigen/Core>
#include <Eigen/Geometry>
#include <Eigen/LU>
#include <Eigen/SVD>

namespace lumivar::geometry::detail {

namespace {

using Mat3 = Eigen::Matrix3d;
using Vec3 = Eigen::Vector3d;

// Below this share of the largest singular value the second one counts as
// zero: rounding of exactly collinear landmarks leaves about 1e-16 of it,
// while landmarks a thousandth of the configuration's size off the line
// give about 1e-3.
constexpr double kRankOneShare = 1e-10;

Rotation3 to_array(const Mat3& r) {
  Rotation3 out;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) out[static_cast<std::size_t>(3 * i + j)] = r(i, j);
  return out;
}

// The smallest rotation that takes the unit vector a onto the unit vector b.
Mat3 smallest_turn(const Vec3& a, const Vec3& b) {
  const double c = a.dot(b);
  if (c < -1.0 + 1e-12) {
    // Opposite directions: half a turn about an axis across a, taken from
    // the coordinate axis least aligned with a so that it is well defined.
    Eigen::Index least = 0;
    a.cwiseAbs().minCoeff(&least);
    const Vec3 n = a.cross(Vec3::Unit(least)).normalized();
    return 2.0 * n * n.transpose() - Mat3::Identity();
  }
  const Vec3 v = a.cross(b);
  Mat3 k;
  k << 0, -v.z(), v.y(), v.z(), 0, -v.x(), -v.y(), v.x(), 0;
  return Mat3::Identity() + k + k * k / (1.0 + c);
}

// The orthogonal factor of the polar decomposition a = R P by Newton's
// iteration with scaling, R_{k+1} = (g R_k + R_k^{-T} / g) / 2, which
// converges quadratically to U V^T of the singular value decomposition. For
// det a > 0 that is a proper rotation and the best one. Used where it is
// safe (a well away from singular), as it takes a tenth of the time of the
// decomposition, which dominates the 3-D fit otherwise. False when it does
// not apply or does not settle.
bool polar_rotation(const Mat3& a, Mat3& r) {
  const double size = a.norm();
  if (!(a.determinant() > 1e-9 * size * size * size)) return false;
  Mat3 x = a;
  bool scaled = true;
  for (int k = 0; k < 30; ++k) {
    const Mat3 inv_t = x.inverse().transpose();
    // Scaling speeds up the first steps; near the end it only adds rounding.
    const double g = scaled ? std::sqrt(inv_t.norm() / x.norm()) : 1.0;
    const Mat3 next = 0.5 * (g * x + inv_t / g);
    const double change = (next - x).norm();
    x = next;
    if (change < 1e-3) scaled = false;
    // Quadratic convergence: a step this small leaves an error of its square.
    if (change < 1e-9) {
      r = 0.5 * (x + x.inverse().transpose());
      return true;
    }
  }
  return false;
}

}  // namespace

Rotation3 svd_rotation(const std::array<double, 9>& m) {
  const Mat3 a = Eigen::Map<const Eigen::Matrix<double, 3, 3, Eigen::RowMajor>>(m.data());
  if (!a.allFinite()) {
    Rotation3 nan;
    nan.fill(std::numeric_limits<double>::quiet_NaN());
    return nan;
  }
  const Eigen::JacobiSVD<Mat3> svd(a, Eigen::ComputeFullU | Eigen::ComputeFullV);
  const Vec3 s = svd.singularValues();
  if (!(s(0) > 0)) return to_array(Mat3::Identity());
  const Mat3& u = svd.matrixU();
  const Mat3& v = svd.matrixV();
  if (s(1) <= kRankOneShare * s(0)) return to_array(smallest_turn(v.col(0), u.col(0)));
  Vec3 flip(1.0, 1.0, (u * v.transpose()).determinant() < 0 ? -1.0 : 1.0);
  return to_array(u * flip.asDiagonal() * v.transpose());
}

Rotation3 best_rotation(const std::array<double, 9>& m) {
  const Mat3 a = Eigen::Map<const Eigen::Matrix<double, 3, 3, Eigen::RowMajor>>(m.data());
  Mat3 r;
  if (a.allFinite() && polar_rotation(a, r)) return to_array(r);
  return svd_rotation(m);
}

void rotate_onto_3d(double* row, const double* ref, std::size_t k) {
  std::array<double, 9> m{};
  for (std::size_t j = 0; j < k; ++j) {
    const double* r = ref + 3 * j;
    const double* x = row + 3 * j;
    for (std::size_t a = 0; a < 3; ++a)
      for (std::size_t b = 0; b < 3; ++b) m[3 * a + b] += r[a] * x[b];
  }
  const Rotation3 rot = best_rotation(m);
  for (std::size_t j = 0; j < k; ++j) {
    double* x = row + 3 * j;
    const double x0 = x[0], x1 = x[1], x2 = x[2];
    for (std::size_t a = 0; a < 3; ++a)
      x[a] = rot[3 * a] * x0 + rot[3 * a + 1] * x1 + rot[3 * a + 2] * x2;
  }
}

}  // namespace lumivar::geometry::detail
