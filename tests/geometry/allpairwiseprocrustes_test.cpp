// The matrix of squared Procrustes distances between all specimens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

#include <tbb/global_control.h>

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"

namespace lumivar::geometry {
namespace {

using runtime::Matrix;
constexpr double kEps = std::numeric_limits<double>::epsilon();

double max_difference(const Matrix& a, const Matrix& b) {
  double worst = 0;
  for (std::size_t k = 1; k <= a.numel(); ++k) worst = std::max(worst, std::abs(a(k) - b(k)));
  return worst;
}

// The pair loop written the plain way, one pair after another.
Matrix plain_pair_loop(const Matrix& xpt) {
  const std::size_t m = xpt.rows();
  Matrix y(m, m);
  for (std::size_t i = 1; i < m; ++i) {
    for (std::size_t j = i + 1; j <= m; ++j) {
      double s = 0;
      for (std::size_t c = 1; c < xpt.cols(); ++c)
        s += (xpt(i, c) - xpt(j, c)) * (xpt(i, c) - xpt(j, c));
      y(i, j) = s;
      y(j, i) = y(i, j);
    }
  }
  return y;
}

TEST(AllPairwiseProcrustes, SquaredDistancesOfSuperimposedRows) {
  // Two unit-size configurations 0.1 apart in one coordinate: 0.01, not 0.1.
  const double h = std::sqrt(0.5);
  const Matrix xpt = Matrix::rows_of({{h, 0, -h, 0, 1}, {h + 0.1, 0, -h, 0, 2}, {h, 0, -h, 0, 3}});
  const Matrix d = squared_distances(xpt);
  EXPECT_NEAR(d(1, 2), 0.01, 4 * kEps);
  EXPECT_EQ(d(1, 3), 0.0);
  for (std::size_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(d(i, i), 0.0);
    for (std::size_t j = 1; j <= 3; ++j) EXPECT_EQ(d(i, j), d(j, i));
  }
}

TEST(AllPairwiseProcrustes, SameBitsForAnyNumberOfThreads) {
  // Enough rows for several row blocks and mirror tiles, and an odd count.
  // Seven workers even on a machine with fewer cores, so the blocks really
  // are spread over seven threads.
  tbb::global_control allow(tbb::global_control::max_allowed_parallelism, 7);
  const Matrix x = testing::random_landmarks(301, 12, 99);
  const ProcrustesDistances one = procrustes_distances(x, 1);
  EXPECT_TRUE(one.d == plain_pair_loop(one.xpt));
  EXPECT_TRUE(one.xpt == getconsensus(x).xpt);
  for (int threads : {2, 7, 0}) {
    const Matrix d = allpairwiseprocrustes(x, threads);
    EXPECT_TRUE(d == one.d) << threads << " threads";
  }
}

TEST(AllPairwiseProcrustes, InvariantToPositionSizeAndOrientation) {
  const Matrix x = testing::random_landmarks(15, 10, 4);
  const Matrix d = allpairwiseprocrustes(x);
  Matrix moved = x;
  std::mt19937_64 rng(8);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (std::size_t i = 1; i <= 15; ++i)  // the first specimen, the reference, included
    testing::apply_similarity(moved, i, 1.0 + 0.9 * u(rng), 3.0 * u(rng), 50.0 * u(rng),
                              50.0 * u(rng));
  const Matrix dm = allpairwiseprocrustes(moved);
  // Entries are at most 4; the moves add the rounding of coordinates up to ~60
  // (59 eps was the worst over 200 seeded data sets).
  EXPECT_LT(max_difference(d, dm), 256 * kEps);
}

TEST(AllPairwiseProcrustes, RowOrderPermutesTheMatrix) {
  const Matrix x = testing::random_landmarks(12, 8, 31);
  const Matrix d = allpairwiseprocrustes(x);
  const auto permuted = [&](const std::vector<std::size_t>& order) {
    Matrix xp(x.rows(), x.cols());
    for (std::size_t i = 1; i <= x.rows(); ++i)
      for (std::size_t c = 1; c <= x.cols(); ++c) xp(i, c) = x(order[i - 1], c);
    const Matrix dp = allpairwiseprocrustes(xp);
    double worst = 0;
    for (std::size_t i = 1; i <= x.rows(); ++i)
      for (std::size_t j = 1; j <= x.rows(); ++j)
        worst = std::max(worst, std::abs(dp(i, j) - d(order[i - 1], order[j - 1])));
    return worst;
  };
  // With the same first specimen every fit follows the same path; only the
  // order of the sums behind the mean differs.
  std::vector<std::size_t> order(12);
  std::iota(order.begin(), order.end(), 1);
  std::reverse(order.begin() + 1, order.end());
  EXPECT_LT(permuted(order), 4 * kEps);
  // Another first specimen starts another path to the same consensus, which
  // each path reaches only to within the convergence tolerance: the last pass
  // may still have moved the consensus by up to 2.7e-5 (a squared change of
  // 7.45e-10). Seeded data sets differed by at most 2.3e-8.
  std::rotate(order.begin(), order.begin() + 5, order.end());
  EXPECT_LT(permuted(order), 1e-6);
}

TEST(AllPairwiseProcrustes, SimilarPairAtZeroMirrorImageNot) {
  Matrix x = testing::random_landmarks(10, 7, 17);
  for (std::size_t c = 1; c <= 14; ++c) {
    x(7, c) = x(3, c);
    x(9, c) = (c % 2 == 1 ? -1.0 : 1.0) * x(3, c);  // x -> -x: a reflection
  }
  testing::apply_similarity(x, 7, 0.25, -1.3, 7.0, 7.0);
  const Matrix d = allpairwiseprocrustes(x);
  EXPECT_NEAR(d(3, 7), 0.0, 8 * kEps);
  EXPECT_GT(d(3, 9), 0.01);
}

TEST(AllPairwiseProcrustes, TrailingColumnNeverMatters) {
  const Matrix x = testing::random_landmarks(20, 6, 2);
  Matrix other = x;
  for (std::size_t i = 1; i <= 20; ++i) other(i, 13) = static_cast<double>(i) * 1e6;
  other(4, 13) = std::numeric_limits<double>::quiet_NaN();
  other(9, 13) = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(allpairwiseprocrustes(other) == allpairwiseprocrustes(x));
}

TEST(AllPairwiseProcrustes, CoincidentLandmarksSpoilOnlyTheirRowAndColumn) {
  Matrix x = testing::random_landmarks(5, 4, 12);
  for (std::size_t c = 1; c <= 8; ++c) x(4, c) = -1.0;
  const Matrix d = allpairwiseprocrustes(x);
  for (std::size_t i = 1; i <= 5; ++i) {
    for (std::size_t j = 1; j <= 5; ++j) {
      if (i == j) EXPECT_EQ(d(i, j), 0.0);
      else EXPECT_EQ(std::isfinite(d(i, j)), i != 4 && j != 4) << i << ", " << j;
    }
  }
}

}  // namespace
}  // namespace lumivar::geometry
