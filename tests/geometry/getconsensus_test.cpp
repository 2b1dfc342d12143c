// Generalized superimposition of all configurations onto one consensus.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <string>
#include <vector>

#include "geometry/centpos.h"
#include "geometry/centsize.h"
#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "runtime/error.h"
#include "support/error_message.h"

namespace lumivar::geometry {
namespace {

using runtime::Matrix;
using Complex = std::complex<double>;
constexpr double kEps = std::numeric_limits<double>::epsilon();

// Landmarks of row i as complex numbers, centred and scaled to unit size.
std::vector<Complex> preshape(const Matrix& x, std::size_t i) {
  std::vector<Complex> z((x.cols() - 1) / 2);
  Complex mean = 0;
  for (std::size_t j = 0; j < z.size(); ++j) {
    z[j] = {x(i, 2 * j + 1), x(i, 2 * j + 2)};
    mean += z[j] / static_cast<double>(z.size());
  }
  double squares = 0;
  for (auto& v : z) squares += std::norm(v -= mean);
  for (auto& v : z) v /= std::sqrt(squares);
  return z;
}

TEST(GetConsensus, EveryRowCentredOfUnitSizeWithTrailingValuesKept) {
  const Matrix x = testing::random_landmarks(30, 10, 7);
  const Consensus c = getconsensus(x);
  EXPECT_GE(c.iterations, 2);
  for (std::size_t i = 0; i <= 30; ++i) {  // row 0 stands for the consensus
    const Matrix row = i == 0 ? c.y : c.xpt.row_range(i, i);
    const Matrix cp = centpos(row);
    // Coordinates are below 1 in size; the centroid is a sum of 10 of them.
    EXPECT_NEAR(cp(1), 0.0, 16 * kEps) << "row " << i;
    EXPECT_NEAR(cp(2), 0.0, 16 * kEps) << "row " << i;
    EXPECT_NEAR(centsize(row)(1), 1.0, 4 * kEps) << "row " << i;
    if (i > 0) {
      EXPECT_EQ(c.xpt(i, 21), x(i, 21)) << "row " << i;  // bit for bit
    }
  }
}

TEST(GetConsensus, TwoSpecimensMatchTheClosedFormRotation) {
  // For two preshapes a and b the least-squares rotation of b onto a turns it
  // by the angle of sum a_j conj(b_j), leaving a squared distance 2 - 2|<a, b>|.
  const Matrix x = testing::random_landmarks(2, 8, 23, 0.3);
  const auto a = preshape(x, 1);
  const auto b = preshape(x, 2);
  Complex ab = 0;
  for (std::size_t j = 0; j < a.size(); ++j) ab += a[j] * std::conj(b[j]);
  const Consensus c = getconsensus(x);
  double d2 = 0;
  for (std::size_t j = 0; j < a.size(); ++j) {
    // Later iterations turn each row by an angle that is zero up to rounding.
    const Complex row1 = {c.xpt(1, 2 * j + 1), c.xpt(1, 2 * j + 2)};
    const Complex row2 = {c.xpt(2, 2 * j + 1), c.xpt(2, 2 * j + 2)};
    EXPECT_NEAR(std::abs(row1 - a[j]), 0.0, 8 * kEps) << "landmark " << j + 1;
    EXPECT_NEAR(std::abs(row2 - ab / std::abs(ab) * b[j]), 0.0, 8 * kEps) << "landmark " << j + 1;
    d2 += std::norm(row1 - row2);
  }
  EXPECT_NEAR(d2, 2.0 - 2.0 * std::abs(ab), 8 * kEps);
}

TEST(GetConsensus, Errors) {
  EXPECT_ERROR_MSG(getconsensus(Matrix::scalar(-1)),
            "The landmark data holds 1 specimen(s); the superimposition needs at least two.");
  EXPECT_ERROR_MSG(getconsensus(Matrix(3, 4, 1.0)),
                   "The landmark data has 4 columns; each row should hold the x and y of every "
                   "landmark plus one trailing value, an odd number of columns.");
  EXPECT_ERROR_MSG(getconsensus(Matrix(3, 1, 1.0)),
            "The landmark data has 1 column, which holds no landmark; each row should hold the "
            "x and y of every landmark plus one trailing value.");
  const Matrix x = testing::random_landmarks(10, 6, 5, 0.3);
  ASSERT_GT(getconsensus(x).iterations, 2);
  EXPECT_ERROR_MSG(getconsensus(x, 2), "The superimposition did not converge after 2 iterations.");
  EXPECT_ERROR_MSG(getconsensus(x, 1), "The superimposition did not converge after 1 iteration.");
}

// Rotations run in parallel and column sums in row order, so the fit is the
// same bits for any number of threads, and the same as the one-argument call
// (all cores). Enough rows that every thread gets several blocks.
TEST(GetConsensus, SameBitsForAnyNumberOfThreadsAndReportsEveryPass) {
  const runtime::Matrix x = testing::random_landmarks(5000, 7, 21, 0.3);
  const Consensus all = getconsensus(x);
  for (int threads : {1, 2, 3, 8}) {
    SuperimpositionSettings s;
    s.threads = threads;
    std::vector<double> changes;
    s.progress = [&](int iteration, double change) {
      EXPECT_EQ(iteration, static_cast<int>(changes.size()) + 1);
      changes.push_back(change);
    };
    const Consensus fit = getconsensus(x, s);
    EXPECT_EQ(fit.xpt.values(), all.xpt.values()) << threads << " threads";
    EXPECT_EQ(fit.y.values(), all.y.values()) << threads << " threads";
    EXPECT_EQ(fit.iterations, all.iterations);
    ASSERT_EQ(changes.size(), static_cast<std::size_t>(fit.iterations));
    EXPECT_LE(changes.back(), kConsensusTolerance);
    for (std::size_t i = 0; i + 1 < changes.size(); ++i) EXPECT_GT(changes[i], kConsensusTolerance);
  }
}

}  // namespace
}  // namespace lumivar::geometry
