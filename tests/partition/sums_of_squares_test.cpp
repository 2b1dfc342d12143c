// Total and within-group sums of squares taken from squared distances.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/landmark_fixtures.h"
#include "partition/by_name.h"
#include "partition/getssgroup.h"
#include "partition/getsstotal.h"
#include "partition/within_sums.h"
#include "runtime/error.h"
#include "support/error_message.h"

namespace lumivar::partition {
namespace {

using runtime::Matrix;
constexpr double kEps = std::numeric_limits<double>::epsilon();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Three specimens with squared distances (1,2) = 1, (1,3) = 4, (2,3) = 9.
// Only the entries above the diagonal may be read: the rest is garbage.
const Matrix kThree = Matrix::rows_of({{0, 1, 4}, {kNaN, 5, 9}, {-100, 1e300, kNaN}});

// Summed squared deviations of the rows' coordinates (all columns but the
// last) from their mean, over the rows whose code equals `code`.
double deviations_about_mean(const Matrix& xpt, const std::vector<double>& codes, double code) {
  double total = 0;
  for (std::size_t c = 1; c < xpt.cols(); ++c) {
    double sum = 0;
    double count = 0;
    for (std::size_t i = 1; i <= xpt.rows(); ++i) {
      if (codes[i - 1] != code) continue;
      sum += xpt(i, c);
      count += 1;
    }
    const double mean = sum / count;
    for (std::size_t i = 1; i <= xpt.rows(); ++i)
      if (codes[i - 1] == code) total += (xpt(i, c) - mean) * (xpt(i, c) - mean);
  }
  return total;
}

TEST(SumsOfSquares, ThreeSpecimensByHand) {
  EXPECT_EQ(getsstotal(kThree, 3), 14.0 / 3.0);
  EXPECT_EQ(getssgroup(kThree, Matrix::column({5, 5, 7}), 2), 0.5);  // only (1, 2) shares a code
  EXPECT_EQ(getssgroup(kThree, Matrix::row({5, 5, 7}), 2), 0.5);
  EXPECT_EQ(getssgroup(kThree, Matrix::column({1, 2, 3}), 1), 0.0);
  EXPECT_EQ(getssgroup(kThree, Matrix::column({8, 8, 8}), 3), getsstotal(kThree, 3));
  // Codes past the m-th are not read; NaN codes match nothing, not even NaN.
  EXPECT_EQ(getssgroup(kThree, Matrix::column({5, 5, 7, 5, 7}), 2), 0.5);
  EXPECT_EQ(getssgroup(kThree, Matrix::column({kNaN, kNaN, 7}), 2), 0.0);
  // A zero divisor gives a non-finite sum rather than an error.
  EXPECT_TRUE(std::isinf(getsstotal(kThree, 0)));
}

TEST(SumsOfSquares, EqualSquaredDeviationsAboutTheMeans) {
  // The distances of superimposed shapes are Euclidean: summed over the pairs
  // and divided by N they give the squared deviations about the mean shape,
  // and within balanced groups the pooled deviations about each group mean.
  const Matrix x = testing::random_landmarks(24, 9, 42, 0.2);
  const geometry::ProcrustesDistances fit = geometry::procrustes_distances(x);
  const std::vector<double> all(24, 1.0);
  const double total = deviations_about_mean(fit.xpt, all, 1.0);
  // Sums of a few hundred terms of size ~0.05; relative rounding is far below this.
  EXPECT_NEAR(getsstotal(fit.d, 24), total, 64 * kEps * total);

  const std::vector<double> codes_of_four = {10, 3, 7.5, -2};  // unsorted, not consecutive
  std::vector<double> codes(24);
  for (std::size_t i = 0; i < 24; ++i) codes[i] = codes_of_four[(i * 7) % 4];
  double pooled = 0;
  for (double code : codes_of_four) pooled += deviations_about_mean(fit.xpt, codes, code);
  EXPECT_NEAR(getssgroup(fit.d, Matrix::column(codes), 6), pooled, 64 * kEps * pooled);
}

TEST(SumsOfSquares, ReadDownTheColumnsASymmetricMatrixGivesTheSameBits) {
  // The analyses read their mirrored matrices down the columns: the same
  // pairs in the same order, so every sum is equal to the bit.
  const Matrix x = testing::random_landmarks(40, 7, 3, 0.3);
  const geometry::ProcrustesDistances fit = geometry::procrustes_distances(x);
  std::vector<double> codes(40);
  for (std::size_t i = 0; i < 40; ++i) codes[i] = static_cast<double>((i * 5) % 3);
  EXPECT_EQ(getsstotal(fit.d, 40, nullptr, Reading::kSymmetric), getsstotal(fit.d, 40));
  // Below the diagonal only: (2, 1) = 1, (3, 1) = 4, (3, 2) = 9.
  const Matrix below = Matrix::rows_of({{kNaN, 7, -1}, {1, kNaN, 1e300}, {4, 9, kNaN}});
  EXPECT_EQ(getsstotal(below, 3, nullptr, Reading::kSymmetric), 14.0 / 3.0);
  Codings codings;
  Divisors divisors;
  codings.fill(Matrix::column({5, 7, 7}));
  divisors.fill(2);
  EXPECT_EQ(within_sums_of_distances(below, codings, divisors)[kG1], 4.5);

  // All seven sums in one pass: each equal to its own pass to the bit.
  for (int k = 0; k < kEffectCount; ++k) {
    std::vector<double> c(40);
    for (std::size_t i = 0; i < 40; ++i) c[i] = static_cast<double>(i % static_cast<std::size_t>(k + 2));
    c[7] = kNaN;  // matches nothing
    codings[k] = Matrix::column(c);
    divisors[k] = k + 1.5;
  }
  const WithinSums fused = within_sums_of_distances(fit.d, codings, divisors);
  for (int k = 0; k < kEffectCount; ++k)
    EXPECT_EQ(fused[k], getssgroup(fit.d, codings[k], divisors[k])) << kEffectLabels[k];
  codings[3] = Matrix::column({1, 2});
  EXPECT_ERROR_MSG(within_sums_of_distances(fit.d, codings, divisors),
                   "The grouping holds 2 code(s) but the distance matrix has 40 rows; every row needs a code.");
}

TEST(SumsOfSquares, Errors) {
  EXPECT_ERROR_MSG(getssgroup(kThree, Matrix::column({1, 2}), 1),
                   "The grouping holds 2 code(s) but the distance matrix has 3 rows; every row "
                   "needs a code.");
  EXPECT_ERROR_MSG(getsstotal(Matrix(3, 2), 3),
                   "The distance matrix is 3 x 2; it should have one row and one column per "
                   "specimen.");
}

TEST(SumsOfSquares, ARaisedCancelStopsTheSumsAndALoweredOneChangesNothing) {
  const std::atomic<bool> raised{true}, lowered{false};
  const std::string cancelled = "The analysis was cancelled while it summed the distances; nothing was written.";
  EXPECT_ERROR_MSG(getsstotal(kThree, 3, &raised), cancelled);
  Codings codings;
  Divisors divisors;
  codings.fill(Matrix::column({5, 5, 7}));
  divisors.fill(2);
  const Matrix mirrored = Matrix::rows_of({{0, 1, 4}, {1, 0, 9}, {4, 9, 0}});
  EXPECT_ERROR_MSG(within_sums_of_distances(mirrored, codings, divisors, &raised), cancelled);
  EXPECT_THROW(getsstotal(kThree, 3, &raised), runtime::Cancelled);
  EXPECT_EQ(getsstotal(kThree, 3, &lowered), 14.0 / 3.0);
  EXPECT_EQ(within_sums_of_distances(mirrored, codings, divisors, &lowered)[kG1], 0.5);
}

TEST(SumsOfSquares, ByName) {
  runtime::FunctionTable t;
  t.add(getsstotal_entry());
  t.add(getssgroup_entry());
  EXPECT_EQ(t.call("getsstotal", {kThree, 3.0}, 1).at(0).scalar(), 14.0 / 3.0);
  EXPECT_EQ(t.call("getssgroup", {kThree, Matrix::row({5, 5, 7}), 2.0}, 1).at(0).scalar(), 0.5);
  EXPECT_ERROR_MSG(t.call("getssgroup", {kThree, kThree, 1.0, 1.0}, 1),
                   "Run-time Error: File: getssgroup Line: 1 Column: 1 The function \"getssgroup\" "
                   "was called with more than the declared number of inputs (3).");
  EXPECT_ERROR_MSG(t.call("getsstotal", {kThree, 3.0, 1.0}, 1),
                   "Run-time Error: File: getsstotal Line: 1 Column: 1 The function \"getsstotal\" "
                   "was called with more than the declared number of inputs (2).");
  EXPECT_ERROR_MSG(t.call("getsstotal", {kThree, 3.0}, 2),
                   "Run-time Error: File: getsstotal Line: 1 Column: 1 The function \"getsstotal\" "
                   "was called with more than the declared number of outputs (1).");
}

}  // namespace
}  // namespace lumivar::partition
