// Generalized superimposition of all configurations onto one consensus.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "geometry/centpos.h"
#include "geometry/centsize.h"
#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "runtime/error.h"

namespace lumivar::geometry {
namespace {

using runtime::Matrix;
using Complex = std::complex<double>;
constexpr double kEps = std::numeric_limits<double>::epsilon();

std::vector<Complex> landmarks_of(const Matrix& x, std::size_t i) {
  std::vector<Complex> z((x.cols() - 1) / 2);
  for (std::size_t j = 0; j < z.size(); ++j) z[j] = {x(i, 2 * j + 1), x(i, 2 * j + 2)};
  return z;
}

// Centred on its centroid and scaled to unit centroid size.
std::vector<Complex> preshape(std::vector<Complex> z) {
  Complex mean = 0;
  for (auto v : z) mean += v;
  mean /= static_cast<double>(z.size());
  double squares = 0;
  for (auto& v : z) {
    v -= mean;
    squares += std::norm(v);
  }
  for (auto& v : z) v /= std::sqrt(squares);
  return z;
}

Complex inner(const std::vector<Complex>& a, const std::vector<Complex>& b) {
  Complex s = 0;
  for (std::size_t j = 0; j < a.size(); ++j) s += std::conj(a[j]) * b[j];
  return s;
}

TEST(GetConsensus, EveryRowCentredOfUnitSizeWithTrailingValuesKept) {
  const Matrix x = testing::random_landmarks(30, 10, 7);
  const Consensus c = getconsensus(x);
  ASSERT_EQ(c.xpt.rows(), 30u);
  ASSERT_EQ(c.xpt.cols(), 21u);
  ASSERT_EQ(c.y.rows(), 1u);
  ASSERT_EQ(c.y.cols(), 21u);
  EXPECT_GE(c.iterations, 2);
  for (std::size_t i = 1; i <= 30; ++i) {
    const Matrix row = c.xpt.row_range(i, i);
    const Matrix cp = centpos(row);
    // Coordinates are below 1 in size; the centroid is a sum of k of them.
    EXPECT_NEAR(cp(1), 0.0, 16 * kEps) << "row " << i;
    EXPECT_NEAR(cp(2), 0.0, 16 * kEps) << "row " << i;
    EXPECT_NEAR(centsize(row)(1), 1.0, 4 * kEps) << "row " << i;
    EXPECT_EQ(c.xpt(i, 21), x(i, 21)) << "row " << i;  // carried bit for bit
  }
  const Matrix cy = centpos(c.y);
  EXPECT_NEAR(cy(1), 0.0, 16 * kEps);
  EXPECT_NEAR(cy(2), 0.0, 16 * kEps);
  EXPECT_NEAR(centsize(c.y)(1), 1.0, 4 * kEps);
}

TEST(GetConsensus, SimilarConfigurationsCoincideAfterOneIteration) {
  Matrix x = testing::random_landmarks(1, 6, 11).stacked(testing::random_landmarks(1, 6, 11));
  testing::apply_similarity(x, 2, 3.7, 2.1, -40.0, 8.5);
  const Consensus c = getconsensus(x);
  EXPECT_EQ(c.iterations, 1);
  // The consensus is the first specimen, centred and scaled (its own angle is 0).
  const auto first = preshape(landmarks_of(x, 1));
  for (std::size_t j = 0; j < first.size(); ++j) {
    // Unit-size coordinates through a similarity of scale ~4 and shift ~40
    // (worst seen over 300 seeded shapes: 30 eps).
    EXPECT_NEAR(c.y(2 * j + 1), first[j].real(), 64 * kEps) << "landmark " << j + 1;
    EXPECT_NEAR(c.y(2 * j + 2), first[j].imag(), 64 * kEps) << "landmark " << j + 1;
    for (std::size_t col = 2 * j + 1; col <= 2 * j + 2; ++col)
      EXPECT_NEAR(c.xpt(1, col), c.xpt(2, col), 64 * kEps) << "column " << col;
  }
}

TEST(GetConsensus, TwoSpecimensMatchTheClosedFormRotation) {
  // For two preshapes a and b the least-squares rotation of b onto a is the
  // angle of sum a_j conj(b_j), and the squared distance left is 2 - 2|<a, b>|.
  const Matrix x = testing::random_landmarks(2, 8, 23, 0.3);
  const auto a = preshape(landmarks_of(x, 1));
  const auto b = preshape(landmarks_of(x, 2));
  const Complex ab = inner(b, a);
  const Complex turn = ab / std::abs(ab);
  const Consensus c = getconsensus(x);
  double d2 = 0;
  std::vector<Complex> mean(a.size());
  for (std::size_t j = 0; j < a.size(); ++j) {
    const Complex b_fit = turn * b[j];
    mean[j] = a[j] + b_fit;
    // Later iterations turn each row by an angle that is zero up to rounding.
    const Complex row1 = {c.xpt(1, 2 * j + 1), c.xpt(1, 2 * j + 2)};
    const Complex row2 = {c.xpt(2, 2 * j + 1), c.xpt(2, 2 * j + 2)};
    EXPECT_NEAR(std::abs(row1 - a[j]), 0.0, 8 * kEps) << "landmark " << j + 1;
    EXPECT_NEAR(std::abs(row2 - b_fit), 0.0, 8 * kEps) << "landmark " << j + 1;
    d2 += std::norm(row1 - row2);
  }
  EXPECT_NEAR(d2, 2.0 - 2.0 * std::abs(ab), 8 * kEps);
  const auto consensus = preshape(mean);
  for (std::size_t j = 0; j < a.size(); ++j) {
    EXPECT_NEAR(c.y(2 * j + 1), consensus[j].real(), 8 * kEps);
    EXPECT_NEAR(c.y(2 * j + 2), consensus[j].imag(), 8 * kEps);
  }
}

TEST(GetConsensus, NoReflection) {
  // An asymmetric triangle and its mirror image stay apart.
  Matrix x = Matrix::rows_of({{0, 0, 4, 0, 1, 3, 0}, {0, 0, -4, 0, -1, 3, 0}});
  const Consensus c = getconsensus(x);
  double d2 = 0;
  for (std::size_t col = 1; col <= 6; ++col)
    d2 += (c.xpt(1, col) - c.xpt(2, col)) * (c.xpt(1, col) - c.xpt(2, col));
  EXPECT_GT(d2, 0.1);
}

TEST(GetConsensus, CoincidentLandmarksGiveNonFiniteRowsWithoutError) {
  Matrix x = testing::random_landmarks(4, 5, 3);
  for (std::size_t col = 1; col <= 10; ++col) x(3, col) = 2.5;
  const Consensus c = getconsensus(x);
  for (std::size_t col = 1; col <= 10; ++col) {
    EXPECT_FALSE(std::isfinite(c.xpt(3, col)));
    EXPECT_FALSE(std::isfinite(c.y(col)));
  }
  EXPECT_EQ(c.iterations, 1);  // the NaN change ends the loop
}

TEST(GetConsensus, Errors) {
  const auto message = [](const Matrix& x, int cap = kMaxConsensusIterations) {
    try {
      getconsensus(x, cap);
    } catch (const runtime::Error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message(Matrix::scalar(-1)),
            "The landmark data holds 1 specimen(s); the superimposition needs at least two.");
  EXPECT_EQ(message(Matrix()),
            "The landmark data holds 0 specimen(s); the superimposition needs at least two.");
  EXPECT_EQ(message(Matrix(3, 4, 1.0)),
            "The landmark data has 4 columns; each row should hold the x and y of every "
            "landmark plus one trailing value, an odd number of columns.");
  EXPECT_EQ(message(Matrix(3, 1, 1.0)),
            "The landmark data has 1 column, which holds no landmark; each row should hold the "
            "x and y of every landmark plus one trailing value.");
  const Matrix x = testing::random_landmarks(10, 6, 5, 0.3);
  ASSERT_GT(getconsensus(x).iterations, 2);
  EXPECT_EQ(message(x, 2), "The superimposition did not converge after 2 iterations.");
  EXPECT_EQ(message(x, 1), "The superimposition did not converge after 1 iteration.");
}

}  // namespace
}  // namespace lumivar::geometry
