// The matrix of squared Procrustes distances between all specimens.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

#include <tbb/global_control.h>

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/getconsensus.h"
#include "runtime/error.h"
#include "geometry/landmark_fixtures.h"
#include "support/error_message.h"

namespace lumivar::geometry {
namespace {

using runtime::Matrix;
constexpr double kEps = std::numeric_limits<double>::epsilon();

// Largest |a(order(i), order(j)) - b(i, j)|.
double max_difference(const Matrix& a, const Matrix& b, const std::vector<std::size_t>& order) {
  double worst = 0;
  for (std::size_t i = 1; i <= b.rows(); ++i)
    for (std::size_t j = 1; j <= b.rows(); ++j)
      worst = std::max(worst, std::abs(a(order[i - 1], order[j - 1]) - b(i, j)));
  return worst;
}

TEST(AllPairwiseProcrustes, SquaredDistancesOfSuperimposedRows) {
  // Two unit-size configurations 0.1 apart in one coordinate: 0.01, not 0.1.
  const double h = std::sqrt(0.5);
  const Matrix d = squared_distances(Matrix::rows_of({{h, 0, -h, 0, 1}, {h + 0.1, 0, -h, 0, 2}}));
  EXPECT_NEAR(d(1, 2), 0.01, 4 * kEps);
  EXPECT_EQ(d, Matrix::rows_of({{0, d(1, 2)}, {d(1, 2), 0}}));
}

TEST(AllPairwiseProcrustes, SameBitsForAnyNumberOfThreads) {
  // Seven workers even on a machine with fewer cores, and enough rows (an odd
  // number) for several blocks of rows and tiles of the mirroring.
  tbb::global_control allow(tbb::global_control::max_allowed_parallelism, 7);
  const Matrix x = testing::random_landmarks(301, 12, 99);
  const ProcrustesDistances one = procrustes_distances(x, 1);
  EXPECT_TRUE(one.xpt == getconsensus(x).xpt);
  // The pair loop written the plain way, one pair after another.
  Matrix plain(301, 301);
  for (std::size_t i = 1; i < 301; ++i) {
    for (std::size_t j = i + 1; j <= 301; ++j) {
      for (std::size_t c = 1; c < 25; ++c)
        plain(i, j) += (one.xpt(i, c) - one.xpt(j, c)) * (one.xpt(i, c) - one.xpt(j, c));
      plain(j, i) = plain(i, j);
    }
  }
  EXPECT_TRUE(one.d == plain);
  for (int threads : {2, 7, 0}) EXPECT_TRUE(allpairwiseprocrustes(x, threads) == one.d) << threads;
}

TEST(AllPairwiseProcrustes, ARaisedCancelStopsThePairLoopAndALoweredOneChangesNothing) {
  const Matrix xpt = getconsensus(testing::random_landmarks(97, 6, 5)).xpt;
  const std::atomic<bool> raised{true}, lowered{false};
  EXPECT_ERROR_MSG(squared_distances(xpt, 2, &raised),
                   "The analysis was cancelled while it built the distance matrix of 97 rows; nothing was written.");
  EXPECT_THROW(squared_distances(xpt, 2, &raised), runtime::Cancelled);
  EXPECT_TRUE(squared_distances(xpt, 2, &lowered) == squared_distances(xpt, 2));
}

TEST(AllPairwiseProcrustes, InvariantToPositionSizeOrientationAndRowOrder) {
  const Matrix x = testing::random_landmarks(15, 10, 4);
  const Matrix d = allpairwiseprocrustes(x);
  std::vector<std::size_t> order(15);
  std::iota(order.begin(), order.end(), 1);

  Matrix moved = x;
  std::mt19937_64 rng(8);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (std::size_t i = 1; i <= 15; ++i)  // the first specimen, the reference, included
    testing::apply_similarity(moved, i, 1.0 + 0.9 * u(rng), 3.0 * u(rng), 50 * u(rng), 50 * u(rng));
  // Entries are at most 4; the moves add the rounding of coordinates up to ~60
  // (59 eps was the worst over 200 seeded data sets).
  EXPECT_LT(max_difference(d, allpairwiseprocrustes(moved), order), 256 * kEps);

  const auto permuted = [&] {
    Matrix xp(x.rows(), x.cols());
    for (std::size_t i = 1; i <= x.rows(); ++i)
      for (std::size_t c = 1; c <= x.cols(); ++c) xp(i, c) = x(order[i - 1], c);
    return max_difference(d, allpairwiseprocrustes(xp), order);
  };
  // With the same first specimen every fit follows the same path; only the
  // order of the sums behind the mean differs.
  std::reverse(order.begin() + 1, order.end());
  EXPECT_LT(permuted(), 4 * kEps);
  // Another first specimen starts another path to the consensus, which each
  // path reaches only to within the tolerance: the last pass may still move
  // it by up to 2.7e-5. Seeded data sets differed by at most 2.3e-8.
  std::rotate(order.begin(), order.begin() + 5, order.end());
  EXPECT_LT(permuted(), 1e-6);
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
  // Centroid size 0 divides by zero; nothing is raised at this level.
  Matrix x = testing::random_landmarks(5, 4, 12);
  for (std::size_t c = 1; c <= 8; ++c) x(4, c) = -1.0;
  const Matrix d = allpairwiseprocrustes(x);
  for (std::size_t i = 1; i <= 5; ++i)
    for (std::size_t j = 1; j <= 5; ++j)
      EXPECT_EQ(std::isfinite(d(i, j)), i == j || (i != 4 && j != 4)) << i << ", " << j;
}

// A watched matrix is filled in batches reported from the calling thread:
// the same bits as unwatched, the columns done rising to m, and a cancel
// heard at the next batch.
TEST(SquaredDistances, WatchedFillsTheSameBitsAndHearsACancel) {
  const Matrix xpt = testing::random_landmarks(2000, 6, 11);
  const Matrix plain = squared_distances(xpt, 2);
  std::vector<std::size_t> reports;
  const Matrix watched = squared_distances(xpt, 2, nullptr, [&](std::size_t done, std::size_t total) {
    EXPECT_EQ(total, 2000u);
    reports.push_back(done);
    return true;
  });
  EXPECT_TRUE(std::equal(plain.data(), plain.data() + plain.numel(), watched.data()));  // bit for bit
  ASSERT_GE(reports.size(), 200u);  // about 256 batches: a cancel waits for 1/256 of the work
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
  EXPECT_EQ(reports.back(), 2000u);

  std::size_t calls = 0;
  EXPECT_THROW(squared_distances(xpt, 2, nullptr,
                                 [&](std::size_t, std::size_t) {
                                   ++calls;
                                   return calls < 3;
                                 }),
               runtime::Cancelled);
  EXPECT_EQ(calls, 3u);  // no batch after the cancel
}

}  // namespace
}  // namespace lumivar::geometry
