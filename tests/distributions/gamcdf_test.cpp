// The gamma and chi-square distribution functions: closed forms, the omitted
// scale, NaN and infinity, and the upper-tail saturation.
#include "distributions/gamcdf.h"

#include <gtest/gtest.h>

#include "checks.h"

namespace lumivar::distributions {
namespace {

using namespace testing;

TEST(Gamcdf, ClosedFormsEdgeValuesAndTheChiSquareRelation) {
  for (double x : {0.02, 0.5, 4.0, 30.0}) {
    EXPECT_NEAR(g(x, 1, 2.5), -std::expm1(-x / 2.5), 4 * kEps);
    EXPECT_NEAR(chi2(x, 1), std::erf(std::sqrt(x / 2)), 4 * kEps);
    EXPECT_NEAR(chi2(x, 4), 1 - std::exp(-x / 2) * (1 + x / 2), 4 * kEps);
  }
  const Matrix x = Matrix::rows_of({{0.3, 2, kNaN, kInf}, {-1, 0, 7, 1e300}});
  const Matrix a = Matrix::rows_of({{0.5, 3, 2, 2}, {2, -2, 4.5, 0}});
  const Matrix p = gamcdf(x, a);
  EXPECT_TRUE(same(p, gamcdf(x, a, Matrix::scalar(1))));
  // x <= 0 and NaN x (not > 0, valid parameters) give 0; +Inf gives 1; a
  // shape <= 0 gives NaN, at x = 0 too.
  EXPECT_EQ(p(1, 3), 0.0);
  EXPECT_EQ(p(2, 1), 0.0);
  EXPECT_EQ(p(1, 4), 1.0);
  EXPECT_TRUE(std::isnan(p(2, 2)));
  EXPECT_TRUE(std::isnan(g(-2, 2, 0)));

  // chi2cdf(x, v) is gamcdf(x, v/2, 2) element by element, NaN included.
  const Matrix v = Matrix::rows_of({{1, 6, 3, -2}, {0, 4, kNaN, 5}});
  Matrix half = v;
  for (std::size_t k = 1; k <= half.numel(); ++k) half(k) /= 2;
  EXPECT_TRUE(same(chi2cdf(x, v), gamcdf(x, half, Matrix::scalar(2))));
  EXPECT_ERROR_MSG(chi2cdf(Matrix(1, 3), Matrix(3, 1)),
                   "Requires non-scalar arguments to match in size.");
}

TEST(Gamcdf, SaturatesTheUpperTailWhenAnyResultIsNotFinite) {
  const double threshold = 1.3407807929942596e+154;  // sqrt of the largest double
  // The invalid shapes make NaN; then every x at or above the threshold
  // becomes 1, its own NaN included; those below keep theirs.
  const Matrix p = gamcdf(Matrix::row({std::nextafter(threshold, 0.0), threshold, 1e300}),
                          Matrix::row({-1, -1, 2}));
  EXPECT_TRUE(same(p, Matrix::row({kNaN, 1, 1})));
  // The step looks at the whole call: with a huge scale the far x keeps its
  // tiny probability while every result is finite, and becomes 1 once a
  // neighbour is NaN.
  EXPECT_LT(g(threshold, 2, 1e300), 1e-280);
  EXPECT_EQ(gamcdf(Matrix::row({threshold, 1}), Matrix::row({2, -1}), Matrix::scalar(1e300))(1),
            1.0);
  EXPECT_TRUE(std::isnan(g(5, kNaN)));
  EXPECT_EQ(g(kInf, kNaN), 1.0);
}

}  // namespace
}  // namespace lumivar::distributions
