#include "partition/sums_from_coordinates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "partition/getssgroup.h"
#include "partition/getsstotal.h"
#include "partition/sums_method.h"
#include "runtime/error.h"

namespace lumivar::partition {
namespace {

using runtime::Matrix;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Relative agreement of two sums; the matrix path adds m^2 / 2 terms in
// sequence, so its own error is about m^2 eps / 2 relative at worst, far
// below 1e-12 for the sizes here.
::testing::AssertionResult agree(double a, double b, double relative = 1e-12) {
  if (std::abs(a - b) <= relative * std::max(std::abs(a), std::abs(b))) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << a << " and " << b << " differ by " << std::abs(a - b);
}

Matrix superimposed(std::size_t m, std::size_t k, std::uint64_t seed) {
  return geometry::getconsensus(testing::random_landmarks(m, k, seed)).xpt;
}

TEST(SumsFromCoordinates, GiveWhatTheDistanceMatrixGivesForAnyCodes) {
  const Matrix xpt = superimposed(60, 6, 3);
  const Matrix d = geometry::squared_distances(xpt);
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> code(1, 4);
  // Unbalanced groups, a group of one row, 0 and -0 (one code), NaN (no
  // group, not even with another NaN), and more codes than rows.
  Matrix codes(70, 1);
  for (std::size_t i = 1; i <= 70; ++i) codes(i) = code(rng);
  codes(3) = 0.0;
  codes(9) = -0.0;
  codes(10) = kNaN;
  codes(11) = kNaN;
  codes(20) = 77;
  for (double divisor : {1.0, 3.0, 15.0})
    EXPECT_TRUE(agree(within_sum_from_coordinates(xpt, codes, divisor), getssgroup(d, codes, divisor)));
  EXPECT_TRUE(agree(total_sum_from_coordinates(xpt, 60), getsstotal(d, 60)));
  // Every row its own group: no pair, exactly 0.
  Matrix distinct(60, 1);
  for (std::size_t i = 1; i <= 60; ++i) distinct(i) = static_cast<double>(i);
  EXPECT_EQ(within_sum_from_coordinates(xpt, distinct, 1), 0.0);
  EXPECT_THROW(within_sum_from_coordinates(xpt, Matrix(59, 1), 1), runtime::Error);
}

// A group moved far from the others keeps its within sum: each group is
// centred on its own mean. Summing n ||x||^2 - ||sum x||^2 without that
// would cancel two numbers near 1e10 and keep about six digits.
TEST(SumsFromCoordinates, StayAccurateForGroupsFarFromTheOrigin) {
  Matrix xpt = superimposed(400, 8, 7);
  Matrix codes(400, 1);
  for (std::size_t i = 1; i <= 400; ++i) codes(i) = static_cast<double>(i % 3);
  const double before = within_sum_from_coordinates(xpt, codes, 1);
  for (std::size_t i = 1; i <= 400; ++i)
    if (codes(i) == 2)
      for (std::size_t c = 1; c < xpt.cols(); ++c) xpt(i, c) += 1e5;
  EXPECT_TRUE(agree(within_sum_from_coordinates(xpt, codes, 1), before, 1e-9));
}

// A million rows alternating between two values in one coordinate, so
// every sum is known exactly in terms of D, the squared difference of the
// two values: the pairs (1, 2), (3, 4), ... give (m / 2) D, all rows
// (m / 2)^2 D. A plain running sum of this many equal terms drifts by about
// m eps relative (1e-11); compensated sums stay within a few eps.
TEST(SumsFromCoordinates, DoNotLoseAccuracyAsRowsGrow) {
  const std::size_t m = std::size_t{1} << 20;
  const double a = 0.1, b = 0.3;
  Matrix xpt(m, 3);
  Matrix pairs(m, 1);
  for (std::size_t i = 1; i <= m; ++i) {
    xpt(i, 1) = i % 2 ? a : b;
    pairs(i) = static_cast<double>((i + 1) / 2);
  }
  const double squared = (b - a) * (b - a);
  const double half = static_cast<double>(m / 2);
  // 100 eps relative: D itself carries two roundings.
  EXPECT_TRUE(agree(within_sum_from_coordinates(xpt, pairs, 1), half * squared, 1e-14));
  EXPECT_TRUE(agree(total_sum_from_coordinates(xpt, 1), half * half * squared, 1e-14));
}

TEST(SumsMethod, AutoTakesTheMatrixOnlyWhereItFitsComfortably) {
  using M = SumsMethod;
  const std::uint64_t plenty = std::uint64_t{64} << 30;
  EXPECT_EQ(resolve_sums_method(M::kAuto, 100, plenty), M::kMatrix);
  EXPECT_EQ(resolve_sums_method(M::kAuto, kMatrixRowLimit, plenty), M::kMatrix);
  EXPECT_EQ(resolve_sums_method(M::kAuto, kMatrixRowLimit + 1, plenty), M::kCoordinates);
  EXPECT_EQ(resolve_sums_method(M::kAuto, kMatrixRowLimit, std::nullopt), M::kMatrix);
  // 10,000 rows: 800 MB of matrix, which needs 1.6 GB free.
  EXPECT_EQ(resolve_sums_method(M::kAuto, 10'000, 1'600'000'000), M::kMatrix);
  EXPECT_EQ(resolve_sums_method(M::kAuto, 10'000, 1'599'999'999), M::kCoordinates);
  // The reference engine needs the matrix whatever the size, if it fits.
  EXPECT_EQ(resolve_sums_method(M::kAuto, 50'000, plenty, true), M::kMatrix);
  EXPECT_EQ(resolve_sums_method(M::kAuto, 50'000, 1'000'000'000, true), M::kCoordinates);
  // What the user chose is kept.
  EXPECT_EQ(resolve_sums_method(M::kMatrix, 200'000, 0), M::kMatrix);
  EXPECT_EQ(resolve_sums_method(M::kCoordinates, 10, plenty), M::kCoordinates);

  for (M m : {M::kAuto, M::kMatrix, M::kCoordinates}) EXPECT_EQ(parse_sums_method(sums_method_name(m)), m);
  EXPECT_FALSE(parse_sums_method("Matrix"));
  EXPECT_FALSE(parse_sums_method(""));
}

}  // namespace
}  // namespace lumivar::partition
