#pragma once
// When a relabelled statistic ties with the observed one.
//
// Two engines compute the same within sums by different arithmetic (pair sums
// over the distance matrix, or sums of coordinates), so a relabelling that
// splits the rows exactly as the observed labelling does can come out a few
// ulps above or below it. Deciding such a tie by rounding noise makes the
// engines disagree on symmetric designs, where ties are common. So two values
// count as equal when they differ by at most kTieTolerance times the scale of
// the data, the total sum of squares: far above rounding noise (about
// m * 1e-16 of the total for m rows) and far below any difference a user
// could care about.
//
// Ratios (F = (effect SS / df) / (error SS / df_error)) are compared through
// their cross products, so that the tolerance is measured in the same units
// whatever the size of the error sum: F* > F  <=>  a* e > a e*, with equal
// degrees of freedom on both sides.
#include <cmath>

namespace lumivar::permutation {

inline constexpr double kTieTolerance = 1e-9;

// Whether two sums of squares of data whose total is `scale` tie.
inline bool sums_tie(double a, double b, double scale) {
  return std::fabs(a - b) <= kTieTolerance * scale;
}

// relabelled <= observed, a tie counting as equal: the explained-sum test.
inline bool sum_at_most(double relabelled, double observed, double scale) {
  return relabelled <= observed || sums_tie(relabelled, observed, scale);
}

// num/den > num_obs/den_obs beyond a tie; all four are sums of squares of
// data whose total is `scale`, with equal degrees of freedom on both sides.
inline bool ratio_exceeds(double num, double den, double num_obs, double den_obs, double scale) {
  return num * den_obs - num_obs * den > kTieTolerance * scale * scale;
}

// num/den >= num_obs/den_obs, a tie counting as equal.
inline bool ratio_at_least(double num, double den, double num_obs, double den_obs, double scale) {
  return num * den_obs - num_obs * den >= -kTieTolerance * scale * scale;
}

}  // namespace lumivar::permutation
