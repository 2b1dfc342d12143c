// The F distribution function against published tables, closed forms and a
// direct integration of the density, and its edge cases.
#include "distributions/fcdf.h"

#include <gtest/gtest.h>

#include <fstream>
#include <numbers>
#include <sstream>

#include "checks.h"

namespace lumivar::distributions {
namespace {

using namespace testing;

TEST(Fcdf, PublishedCriticalValuesAreTheRoundedQuantiles) {
  std::ifstream in(LUMIVAR_TEST_DATA "/f_critical_values.txt");
  int rows = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    double p = 0, v1 = 0, v2 = 0;
    std::string printed;
    fields >> p >> v1 >> v2 >> printed;
    // The table prints the exact quantile rounded, so the quantile lies within
    // half a unit of the last printed digit and, fcdf being increasing, p lies
    // between fcdf at the two ends of that interval.
    const auto digits = printed.size() - printed.find('.') - 1;
    const double half_unit = 0.5 * std::pow(10.0, -static_cast<double>(digits));
    EXPECT_LE(f(std::stod(printed) - half_unit, v1, v2), p) << line;
    EXPECT_GE(f(std::stod(printed) + half_unit, v1, v2), p) << line;
    ++rows;
  }
  EXPECT_EQ(rows, 22);
}

// The integral of the F density from 0 to x by Simpson's rule, after the
// substitution x = u^2 that leaves a smooth integrand for whole v1.
double integrated_fcdf(double x, double v1, double v2) {
  const double log_beta = std::lgamma(v1 / 2) + std::lgamma(v2 / 2) - std::lgamma((v1 + v2) / 2);
  const double c = 2 * std::exp(v1 / 2 * std::log(v1 / v2) - log_beta);
  auto density = [&](double u) {
    return c * std::pow(u, v1 - 1) * std::pow(1 + v1 * u * u / v2, -(v1 + v2) / 2);
  };
  const int n = 4000;
  const double h = std::sqrt(x) / n;
  double sum = density(0) + density(std::sqrt(x));
  for (int i = 1; i < n; ++i) sum += (i % 2 == 1 ? 4 : 2) * density(i * h);
  return sum * h / 3;
}

TEST(Fcdf, MatchesClosedFormsTheTDistributionAndTheIntegratedDensity) {
  const double pi = std::numbers::pi;
  for (double x : {0.01, 0.4, 1.0, 3.7, 150.0}) {
    // v1 = 2: 1 - (1 + 2x/v2)^(-v2/2); v2 = 2: (v1 x / (v1 x + 2))^(v1/2), whose
    // power multiplies the rounding of its base by up to v1/2 = 20.
    for (double v : {1.0, 7.5, 40.0}) {
      EXPECT_NEAR(f(x, 2, v), -std::expm1(-v / 2 * std::log1p(2 * x / v)), 8 * kEps);
      EXPECT_NEAR(f(x, v, 2), std::pow(v * x / (v * x + 2), v / 2), 32 * kEps);
    }
    // F(1, v) is the square of t(v): fcdf(t^2, 1, v) = 2 tcdf(t, v) - 1, with
    // the t distribution's closed forms for v = 1, 2, 3.
    const double t = std::sqrt(x);
    const double s = t / std::sqrt(3.0);
    EXPECT_NEAR(f(x, 1, 1), 2 / pi * std::atan(t), 8 * kEps);
    EXPECT_NEAR(f(x, 1, 2), t / std::sqrt(2 + x), 8 * kEps);
    EXPECT_NEAR(f(x, 1, 3), 2 / pi * (s / (1 + s * s) + std::atan(s)), 8 * kEps);
    // Simpson's rule with 4000 steps is good to about 3e-14 (~110 eps) here.
    for (double v1 : {3.0, 6.0})
      for (double v2 : {1.0, 4.5, 63.0})
        EXPECT_NEAR(f(x, v1, v2), integrated_fcdf(x, v1, v2), 1024 * kEps);
  }
}

TEST(Fcdf, EdgeCases) {
  for (double x : {0.0, -1.0, -kInf}) EXPECT_EQ(f(x, 3, 10), 0.0) << x;
  EXPECT_TRUE(std::isnan(f(kNaN, 3, 10)));
  // Invalid degrees of freedom give NaN at every x, x <= 0 included.
  for (double x : {-kInf, -1.0, 0.0, 2.0, kInf}) {
    EXPECT_TRUE(std::isnan(f(x, 0, 10))) << x;
    EXPECT_TRUE(std::isnan(f(x, -2, 10))) << x;
    EXPECT_TRUE(std::isnan(f(x, 3, 0))) << x;
  }
  // A NaN degree of freedom meets no rule and keeps 0.
  EXPECT_EQ(f(2, kNaN, 10), 0.0);
  EXPECT_EQ(f(2, 3, kNaN), 0.0);
  // Infinite denominator degrees: chi-square with 3 degrees at 3 * 2 = 6.
  EXPECT_NEAR(f(2, 3, kInf),
              std::erf(std::sqrt(3.0)) - std::sqrt(12 / std::numbers::pi) * std::exp(-3.0),
              4 * kEps);
  // Infinite numerator degrees: 1 - chi-square with 10 degrees at 10 / 2 = 5,
  // which is e^-2.5 times the sum of 2.5^k / k! for k = 0..4.
  EXPECT_NEAR(f(2, kInf, 10), std::exp(-2.5) * (1 + 2.5 + 3.125 + 2.6041666666666667 +
                                                1.6276041666666667),
              4 * kEps);
  EXPECT_EQ(f(1, kInf, kInf), 1.0);
  EXPECT_EQ(f(0.999, kInf, kInf), 0.0);
  EXPECT_EQ(f(kInf, 3, kInf), 1.0);
  EXPECT_EQ(f(kInf, kInf, 10), 1.0);
  // With finite degrees, x = +Inf forms z = Inf / Inf: NaN, not 1.
  EXPECT_TRUE(std::isnan(f(kInf, 3, 10)));

  // Sizes: scalar expansion, the mismatch message, empty in, empty out.
  const Matrix v1 = Matrix::rows_of({{1, 2, 3}, {4, 5, -1}});
  const Matrix p = fcdf(Matrix::scalar(2), v1, Matrix::scalar(10));
  Matrix expected(2, 3);
  for (std::size_t k = 1; k <= 6; ++k) expected(k) = f(2, v1(k), 10);
  EXPECT_TRUE(same(p, expected));
  EXPECT_ERROR_MSG(fcdf(Matrix(2, 3, 1), Matrix(3, 2, 1), Matrix::scalar(1)),
                   "Requires non-scalar arguments to match in size.");
  EXPECT_EQ(fcdf(Matrix(), Matrix::scalar(3), Matrix::scalar(10)), Matrix());
}

}  // namespace
}  // namespace lumivar::distributions

namespace lumivar::distributions {
namespace {

TEST(FcdfUpper, KeepsTailsFarBelowRoundingAndAgreesWithOneMinusFcdfElsewhere) {
  // With 2 numerator degrees of freedom the upper tail is (1 + 2x / v2)^(-v2 / 2).
  for (double x : {0.5, 3.0, 40.0, 1e4, 1e6}) {
    for (double v2 : {4.0, 10.0, 30.0}) {
      const double exact = std::pow(1 + 2 * x / v2, -v2 / 2);
      // A few hundred ulps: the incomplete beta's own error.
      EXPECT_NEAR(fcdf_upper(x, 2, v2), exact, 256 * 2.2e-16 * exact) << x << " " << v2;
    }
  }
  EXPECT_GT(fcdf_upper(1e6, 2, 30), 0.0);  // about 1e-75, where 1 - fcdf is 0
  EXPECT_EQ(1 - fcdf(runtime::Matrix::scalar(1e6), runtime::Matrix::scalar(2),
                     runtime::Matrix::scalar(30))(1), 0.0);
  for (double x : {0.2, 1.0, 2.5})
    EXPECT_NEAR(fcdf_upper(x, 3, 7),
                1 - fcdf(runtime::Matrix::scalar(x), runtime::Matrix::scalar(3),
                         runtime::Matrix::scalar(7))(1),
                8 * 2.2e-16);
  EXPECT_EQ(fcdf_upper(0, 3, 7), 1.0);
  EXPECT_EQ(fcdf_upper(-2, 3, 7), 1.0);
  EXPECT_TRUE(std::isnan(fcdf_upper(std::nan(""), 3, 7)));
  EXPECT_TRUE(std::isnan(fcdf_upper(INFINITY, 3, 7)));  // an undefined F has no P
  EXPECT_TRUE(std::isnan(fcdf_upper(2, 0, 7)));
  EXPECT_TRUE(std::isnan(fcdf_upper(2, 3, 0)));
}

}  // namespace
}  // namespace lumivar::distributions
