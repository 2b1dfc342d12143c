// Superimposition of three-dimensional landmarks, against an independent fit
// that finds each rotation by unit quaternions instead of a singular value
// decomposition, and against the two-dimensional fit for flat studies.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include <Eigen/Eigenvalues>
#include <Eigen/Geometry>
#include <Eigen/LU>

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/centpos.h"
#include "geometry/centsize.h"
#include "geometry/collinear_rows.h"
#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "geometry/landmark_fixtures_3d.h"
#include "geometry/rotation_3d.h"
#include "support/error_message.h"

namespace lumivar::geometry {
namespace {

using runtime::Matrix;
using Shape = std::vector<Eigen::Vector3d>;
constexpr double kEps = std::numeric_limits<double>::epsilon();

Shape shape_of(const Matrix& x, std::size_t i) {
  Shape s((x.cols() - 1) / 3);
  for (std::size_t j = 0; j < s.size(); ++j) s[j] = {x(i, 3 * j + 1), x(i, 3 * j + 2), x(i, 3 * j + 3)};
  return s;
}

// Centred on its centroid and scaled to unit centroid size.
Shape preshape(Shape s) {
  Eigen::Vector3d mean = Eigen::Vector3d::Zero();
  for (const auto& p : s) mean += p / static_cast<double>(s.size());
  double squares = 0;
  for (auto& p : s) squares += (p -= mean).squaredNorm();
  for (auto& p : s) p /= std::sqrt(squares);
  return s;
}

// The rotation that brings x closest to r, as the eigenvector of the
// largest eigenvalue of the 4 x 4 quaternion matrix of their cross products.
Eigen::Matrix3d quaternion_rotation(const Shape& x, const Shape& r) {
  Eigen::Matrix3d s = Eigen::Matrix3d::Zero();
  for (std::size_t j = 0; j < x.size(); ++j) s += x[j] * r[j].transpose();
  const double xx = s(0, 0), xy = s(0, 1), xz = s(0, 2), yx = s(1, 0), yy = s(1, 1), yz = s(1, 2),
               zx = s(2, 0), zy = s(2, 1), zz = s(2, 2);
  Eigen::Matrix4d n;
  n << xx + yy + zz, yz - zy, zx - xz, xy - yx,  //
      yz - zy, xx - yy - zz, xy + yx, zx + xz,   //
      zx - xz, xy + yx, -xx + yy - zz, yz + zy,  //
      xy - yx, zx + xz, yz + zy, -xx - yy + zz;
  const Eigen::Vector4d q = Eigen::SelfAdjointEigenSolver<Eigen::Matrix4d>(n).eigenvectors().col(3);
  return Eigen::Quaterniond(q(0), q(1), q(2), q(3)).toRotationMatrix();
}

// Generalised superimposition written out plainly: preshapes, the first one
// as the first reference, then rotate all, average, normalise, until the
// squared change of the mean is within the tolerance.
std::vector<Shape> reference_fit(const Matrix& x) {
  std::vector<Shape> shapes;
  for (std::size_t i = 1; i <= x.rows(); ++i) shapes.push_back(preshape(shape_of(x, i)));
  Shape ref = shapes.front();
  double change = 1;
  while (change > kConsensusTolerance) {
    for (Shape& s : shapes) {
      const Eigen::Matrix3d r = quaternion_rotation(s, ref);
      for (auto& p : s) p = r * p;
    }
    Shape mean(ref.size(), Eigen::Vector3d::Zero());
    for (const Shape& s : shapes)
      for (std::size_t j = 0; j < s.size(); ++j) mean[j] += s[j] / static_cast<double>(shapes.size());
    double squares = 0;
    for (const auto& p : mean) squares += p.squaredNorm();
    change = 0;
    for (std::size_t j = 0; j < mean.size(); ++j) {
      mean[j] /= std::sqrt(squares);
      change += (mean[j] - ref[j]).squaredNorm();
    }
    ref = mean;
  }
  return shapes;
}

double total_ss(const Matrix& xpt) {
  const Matrix d = squared_distances(xpt, 1);
  double sum = 0;
  for (std::size_t i = 1; i <= d.rows(); ++i)
    for (std::size_t j = i + 1; j <= d.rows(); ++j) sum += d(i, j);
  return sum / static_cast<double>(d.rows());
}

TEST(Superimposition3d, AgreesWithAnIndependentQuaternionFit) {
  const Matrix x = testing::random_landmarks_3d(25, 9, 3, 0.15);
  const Consensus c = testing::fit_3d(x);
  const std::vector<Shape> ref = reference_fit(x);
  for (std::size_t i = 1; i <= x.rows(); ++i) {
    const Shape got = shape_of(c.xpt, i);
    // Both stop at the same squared change (about 1e-9), and the rotations
    // agree to rounding, so the coordinates agree far below the tolerance.
    for (std::size_t j = 0; j < got.size(); ++j)
      EXPECT_NEAR((got[j] - ref[i - 1][j]).norm(), 0.0, 1e-10) << "row " << i << " landmark " << j + 1;
    EXPECT_EQ(c.xpt(i, 28), x(i, 28));  // the trailing value, bit for bit
    EXPECT_NEAR(detail::centroid_size(c.xpt.row_range(i, i).data(), 28, 3), 1.0, 8 * kEps);
  }
}

TEST(Superimposition3d, FlatStudyGivesTheSumsOfTheTwoDimensionalFit) {
  // Noisy copies of one shape: none is the mirror image of another, so the
  // half turns out of the plane that 3-D allows never fit better.
  const Matrix flat = testing::random_landmarks(40, 8, 11, 0.2);
  Matrix padded(40, 3 * 8 + 1);
  for (std::size_t i = 1; i <= 40; ++i) {
    for (std::size_t j = 0; j < 8; ++j) {
      padded(i, 3 * j + 1) = flat(i, 2 * j + 1);
      padded(i, 3 * j + 2) = flat(i, 2 * j + 2);
    }
    padded(i, 25) = flat(i, 17);
  }
  const double ss2 = total_ss(getconsensus(flat).xpt);
  const double ss3 = total_ss(testing::fit_3d(padded).xpt);
  ASSERT_GT(ss2, 0.01);
  EXPECT_NEAR(ss3 / ss2, 1.0, 1e-10);
  const Matrix d2 = squared_distances(getconsensus(flat).xpt);
  const Matrix d3 = squared_distances(testing::fit_3d(padded).xpt);
  for (std::size_t k = 1; k <= d2.numel(); ++k) EXPECT_NEAR(d3(k), d2(k), 1e-10 * d2(k) + 1e-15) << k;
}

TEST(Superimposition3d, TurnedCopiesOfOneShapeLeaveNoVariation) {
  const Matrix one = testing::random_landmarks_3d(1, 12, 5, 0.0);
  Matrix x(30, one.cols());
  std::mt19937_64 rng(9);
  for (std::size_t i = 1; i <= 30; ++i) {
    for (std::size_t c = 1; c <= one.cols(); ++c) x(i, c) = one(1, c);
    testing::apply_similarity_3d(x, i, 0.5 + static_cast<double>(i) / 10, testing::random_rotation(rng),
                                 Eigen::Vector3d(static_cast<double>(i), -2, 3));
  }
  const Consensus c = testing::fit_3d(x);
  EXPECT_EQ(c.iterations, 1);
  // Coordinates of unit size agree to about 1e-15, their squared
  // differences to 1e-30, summed over 36 coordinates and 435 pairs.
  EXPECT_LT(total_ss(c.xpt), 1e-25);
}

TEST(Superimposition3d, NeverTurnsAConfigurationIntoItsMirrorImage) {
  Matrix x = testing::random_landmarks_3d(3, 10, 17, 0.05);
  // Row 2 becomes the mirror image of row 1 (z negated); row 3 stays a
  // near copy, as a control.
  for (std::size_t c = 1; c <= x.cols(); ++c) x(2, c) = x(1, c);
  for (std::size_t j = 0; j < 10; ++j) x(2, 3 * j + 3) = -x(2, 3 * j + 3);
  const Consensus c = testing::fit_3d(x);
  const Matrix d = squared_distances(c.xpt);
  EXPECT_GT(d(1, 2), 0.05) << "the mirror image was matched onto its original";
  EXPECT_LT(d(1, 3), d(1, 2));
  // Each output row is its preshape turned by a proper rotation: the map
  // found by least squares from the ten landmarks is orthogonal with det +1.
  for (std::size_t i = 1; i <= 3; ++i) {
    const Shape in = preshape(shape_of(x, i));
    const Shape out = shape_of(c.xpt, i);
    Eigen::Matrix3d xx = Eigen::Matrix3d::Zero(), yx = Eigen::Matrix3d::Zero();
    for (std::size_t j = 0; j < in.size(); ++j) {
      xx += in[j] * in[j].transpose();
      yx += out[j] * in[j].transpose();
    }
    const Eigen::Matrix3d r = yx * xx.inverse();
    EXPECT_NEAR(r.determinant(), 1.0, 1e-10) << "row " << i;
    EXPECT_NEAR((r * r.transpose() - Eigen::Matrix3d::Identity()).norm(), 0.0, 1e-10) << "row " << i;
  }
}

// Rows are rotated in parallel and summed in row order: the same bits for
// any number of threads. Enough rows that every thread gets several blocks.
TEST(Superimposition3d, SameBitsForAnyNumberOfThreads) {
  const Matrix x = testing::random_landmarks_3d(4000, 6, 29, 0.3);
  const Consensus all = testing::fit_3d(x);
  for (int threads : {1, 3}) {
    const Consensus c = testing::fit_3d(x, threads);
    EXPECT_EQ(c.xpt.values(), all.xpt.values()) << threads << " threads";
    EXPECT_EQ(c.iterations, all.iterations);
  }
}

TEST(Superimposition3d, LandmarksOnALineAreFittedDeterministicallyWithoutNaN) {
  Matrix x = testing::random_landmarks_3d(6, 5, 41, 0.2);
  // Row 4: five landmarks on one line through space, unevenly spaced.
  const double t[] = {0, 1, 1.5, 4, 7};
  for (std::size_t j = 0; j < 5; ++j) {
    x(4, 3 * j + 1) = 1 + 2 * t[j];
    x(4, 3 * j + 2) = -3 + t[j];
    x(4, 3 * j + 3) = 0.5 - 0.25 * t[j];
  }
  EXPECT_EQ(collinear_rows(x, 3), std::vector<std::size_t>{4});
  const Consensus a = testing::fit_3d(x);
  const Consensus b = testing::fit_3d(x, 1);
  EXPECT_EQ(a.xpt.values(), b.xpt.values());
  for (double v : a.xpt.values()) ASSERT_TRUE(std::isfinite(v));
  const Matrix row = a.xpt.row_range(4, 4);
  EXPECT_NEAR(detail::centroid_size(row.data(), 15, 3), 1.0, 8 * kEps);
  // Still on a line after the fit: a rotation keeps it straight.
  EXPECT_EQ(collinear_rows(a.xpt, 3), std::vector<std::size_t>{4});
  // Collinear rows matter only in 3-D; a flat study has none to report.
  EXPECT_TRUE(collinear_rows(testing::random_landmarks(5, 4, 2), 2).empty());
}

// Rotation3 holds a 3 x 3 matrix row by row.
Eigen::Matrix3d as_matrix(const Rotation3& r) {
  return Eigen::Map<const Eigen::Matrix<double, 3, 3, Eigen::RowMajor>>(r.data());
}

Rotation3 as_array(const Eigen::Matrix3d& m) {
  Rotation3 a;
  Eigen::Map<Eigen::Matrix<double, 3, 3, Eigen::RowMajor>>(a.data()) = m;
  return a;
}

TEST(BestRotation, IsTheProperRotationOfLargestAgreement) {
  // A configuration turned by a known rotation gets it back.
  std::mt19937_64 rng(3);
  const Eigen::Matrix3d r0 = testing::random_rotation(rng);
  Eigen::Matrix3d m = Eigen::Matrix3d::Zero();
  std::normal_distribution<double> g;
  for (int j = 0; j < 6; ++j) {
    const Eigen::Vector3d p(g(rng), g(rng), g(rng));
    m += (r0 * p) * p.transpose();
  }
  EXPECT_NEAR((as_matrix(detail::best_rotation(as_array(m))) - r0).norm(), 0.0, 64 * kEps);

  // The best orthogonal map for diag(3, 2, -1) is the reflection
  // diag(1, 1, -1); the best proper rotation is the identity.
  EXPECT_NEAR((as_matrix(detail::best_rotation(as_array(Eigen::Vector3d(3, 2, -1).asDiagonal().toDenseMatrix()))) -
               Eigen::Matrix3d::Identity()).norm(), 0.0, 8 * kEps);

  // Rank one (a configuration on a line along v, a reference along u): the
  // smallest turn taking v onto u, about the axis v x u, which it leaves
  // where it is.
  const Eigen::Vector3d u = Eigen::Vector3d(1, 2, 2) / 3, v = Eigen::Vector3d(0, 0.6, 0.8);
  const Eigen::Matrix3d turn = as_matrix(detail::best_rotation(as_array(2.5 * u * v.transpose())));
  EXPECT_NEAR((turn * v - u).norm(), 0.0, 16 * kEps);
  const Eigen::Vector3d axis = v.cross(u).normalized();
  EXPECT_NEAR((turn * axis - axis).norm(), 0.0, 16 * kEps);
  EXPECT_NEAR(turn.determinant(), 1.0, 16 * kEps);
  // Opposite directions: a half turn, still proper.
  const Eigen::Matrix3d half = as_matrix(detail::best_rotation(as_array(-u * u.transpose())));
  EXPECT_NEAR((half * u + u).norm(), 0.0, 16 * kEps);
  EXPECT_NEAR(half.determinant(), 1.0, 16 * kEps);

  EXPECT_EQ(as_matrix(detail::best_rotation({})), Eigen::Matrix3d::Identity());
  EXPECT_TRUE(std::isnan(detail::best_rotation({std::nan(""), 0, 0, 0, 1, 0, 0, 0, 1})[0]));
}

// The fast path (the polar factor by Newton's iteration) must give the
// rotation of the singular value decomposition wherever it is taken:
// matrices that face the reference (near a positive multiple of a rotation)
// and others of any condition with a positive determinant.
TEST(BestRotation, FastPathAgreesWithTheDecomposition) {
  std::mt19937_64 rng(77);
  std::normal_distribution<double> g;
  for (int trial = 0; trial < 2000; ++trial) {
    // A rotation times a positive definite matrix whose axes shrink to 1e-4
    // of the largest, plus, every other trial, a little of any direction.
    const double spread = std::pow(10.0, -(trial % 5));
    Eigen::Matrix3d p = Eigen::Matrix3d::Zero();
    for (double axis : {1.0, 0.5 + 0.5 * spread, spread}) {
      const Eigen::Vector3d v = Eigen::Vector3d(g(rng), g(rng), g(rng)).normalized();
      p += axis * v * v.transpose();
    }
    Eigen::Matrix3d m = testing::random_rotation(rng) * p;
    if (trial % 2 == 1)
      for (int k = 0; k < 9; ++k) m(k) += 0.01 * g(rng);
    const Rotation3 a = as_array(m);
    const Rotation3 fast = detail::best_rotation(a), svd = detail::svd_rotation(a);
    double worst = 0;
    for (std::size_t k = 0; k < 9; ++k) worst = std::max(worst, std::abs(fast[k] - svd[k]));
    // Both lie within a few eps of the exact factor times its condition
    // (up to about 1e4 here).
    EXPECT_LT(worst, 1e-10) << "trial " << trial;
  }
}

TEST(Superimposition3d, CentroidAndSizeTakeThreeCoordinates) {
  const double row[] = {1, 2, 3, 4, 5, 6, 99};
  double c[3];
  detail::centroid(row, 7, c, 3);
  EXPECT_EQ(c[0], 2.5);
  EXPECT_EQ(c[1], 3.5);
  EXPECT_EQ(c[2], 4.5);
  // Six squared differences of 1.5, the trailing 99 in none of them.
  EXPECT_NEAR(detail::centroid_size(row, 7, 3), std::sqrt(6 * 2.25), 2 * kEps);
}

TEST(Superimposition3d, RefusesRowsThatAreNotThreeCoordinatesPerLandmark) {
  SuperimpositionSettings s;
  s.dimensions = 3;
  EXPECT_ERROR_MSG(getconsensus(Matrix(3, 9, 1.0), s),
                   "The landmark data has 9 columns; as three-dimensional landmarks each row should "
                   "hold the x, y and z of every landmark plus one trailing value, 3k + 1 columns.");
  s.dimensions = 4;
  EXPECT_ERROR_MSG(getconsensus(Matrix(3, 9, 1.0), s), "Landmarks have two or three coordinates, not 4.");
}

}  // namespace
}  // namespace lumivar::geometry
