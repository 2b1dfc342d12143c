#include "shape_space/thin_plate_spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/error.h"

namespace lumivar::shape_space {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();

Landmarks2 pentagon() {
  Landmarks2 p(6, 2);
  p << 0, 1, 0.95, 0.31, 0.59, -0.81, -0.59, -0.81, -0.95, 0.31, 0.1, 0.05;
  return p;
}

TEST(ThinPlateSpline, MapsEveryLandmarkOntoItsPartner) {
  const Landmarks2 from = pentagon();
  Landmarks2 to = from;
  to(5, 0) += 0.3;  // the inner landmark moves: a local, non-affine change
  to(0, 1) -= 0.1;
  const ThinPlateSpline s(from, to);
  for (Eigen::Index i = 0; i < from.rows(); ++i) {
    const Eigen::RowVector2d image = s.map(from.row(i));
    // The linear system is small and well conditioned: a few hundred ulps.
    EXPECT_NEAR(image(0), to(i, 0), 500 * kEps) << "landmark " << i + 1;
    EXPECT_NEAR(image(1), to(i, 1), 500 * kEps) << "landmark " << i + 1;
  }
  EXPECT_GT(s.bending_energy(), 1e-3);
  // Non-affine weights carry no affine part: they sum to zero against 1, x, y.
  EXPECT_NEAR(s.weights().colwise().sum().cwiseAbs().maxCoeff(), 0, 1e-12);
}

TEST(ThinPlateSpline, AnAffineChangeBendsNothing) {
  const Landmarks2 from = pentagon();
  Eigen::Matrix2d m;
  m << 1.3, 0.4, -0.2, 0.8;
  const Eigen::RowVector2d shift(0.5, -2);
  const Landmarks2 to = (from * m).rowwise() + shift;
  const ThinPlateSpline s(from, to);
  EXPECT_NEAR(s.bending_energy(), 0, 1e3 * kEps);
  EXPECT_LT(s.weights().cwiseAbs().maxCoeff(), 1e-12);
  // The grid is the affine image of the square grid: every sampled point.
  const GridBox box = bounding_box(from);
  const ThinPlateSpline identity(from, from);
  const auto straight = deformed_grid(identity, box, 6, 2);
  const auto bent = deformed_grid(s, box, 6, 2);
  ASSERT_EQ(bent.size(), straight.size());
  for (std::size_t l = 0; l < bent.size(); ++l)
    for (std::size_t q = 0; q < bent[l].size(); ++q) {
      const Eigen::RowVector2d expected = straight[l][q] * m + shift;
      EXPECT_LT((bent[l][q] - expected).cwiseAbs().maxCoeff(), 1e-12) << "line " << l << " point " << q;
    }
}

TEST(DeformedGrid, CoversTheBoxWithSquareCells) {
  const Landmarks2 from = pentagon();
  const GridBox box{0, 4, 0, 2};
  const auto lines = deformed_grid(ThinPlateSpline(from, from), box, 4, 1);
  // 4 cells across a side of 4, 2 up: 3 horizontal lines, 5 vertical ones.
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].size(), 5u);
  EXPECT_NEAR(lines[0].front()(0), 0, 1e-12);
  EXPECT_NEAR(lines[2].back()(1), 2, 1e-12);
  EXPECT_NEAR(lines[7].front()(0), 4, 1e-12);
}

TEST(ThinPlateSpline, RefusesShapesWithoutAUniqueSpline) {
  Landmarks2 line(4, 2);
  line << 0, 0, 1, 1, 2, 2, 3, 3;
  EXPECT_THROW(ThinPlateSpline(line, line), runtime::Error);
  const Landmarks2 p = pentagon();
  EXPECT_THROW(ThinPlateSpline(p, p.topRows(5)), runtime::Error);
  Landmarks2 twice = p;
  twice.row(1) = twice.row(0);
  EXPECT_THROW(ThinPlateSpline(twice, p), runtime::Error);
}

}  // namespace
}  // namespace lumivar::shape_space
