#pragma once
// When a relabelled statistic ties with the observed one: the one rule both
// engines and both counts use.
//
// The engines compute the same within sums by different arithmetic (pair sums
// over the distance matrix, or sums of coordinates), and a relabelling that
// splits the rows exactly as the observed labelling does, or splits them
// differently into groups of equal spread (common in small symmetric designs),
// comes out a few ulps above or below the observed sum. Deciding such a tie
// by rounding noise makes the engines, and runs on different machines,
// disagree. So two sums count as equal when they differ by at most
// kTieTolerance times the scale of the data, the total sum of squares.
//
// Why 1e-9: a sum of m(m - 1)/2 distances (or of m squared norms) carries a
// relative rounding error of order m * 2^-53 of the total, about 1e-13 for
// m = 1000 and still under 1e-10 for a million rows; two splits whose sums
// differ by less than a billionth of the total change no printed digit of
// any report, so calling them equal loses nothing a user could see.
//
// Ratios (F = (effect SS / df) / (error SS / df_error)) are compared through
// their cross products, with equal degrees of freedom on both sides:
// F* > F  <=>  a* e > a e*. If a* and e* each tie with a and e (each within
// t = kTieTolerance * scale), then |a* e - a e*| <= t (|a| + |e|); a cross
// product within that bound is a tie. So a relabelling that ties on both
// sums also ties on F, whichever engine computed them.
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

namespace detail {
// How far a* e - a e* may stray when both sums tie.
inline double cross_product_tie(double num_obs, double den_obs, double scale) {
  return kTieTolerance * scale * (std::fabs(num_obs) + std::fabs(den_obs));
}
}  // namespace detail

// num/den > num_obs/den_obs beyond a tie: the F test. All four are sums of
// squares of data whose total is `scale`, the denominators not negative,
// with equal degrees of freedom on both sides.
inline bool ratio_exceeds(double num, double den, double num_obs, double den_obs, double scale) {
  return num * den_obs - num_obs * den > detail::cross_product_tie(num_obs, den_obs, scale);
}

// num/den >= num_obs/den_obs, a tie counting as equal.
inline bool ratio_at_least(double num, double den, double num_obs, double den_obs, double scale) {
  return num * den_obs - num_obs * den >= -detail::cross_product_tie(num_obs, den_obs, scale);
}

}  // namespace lumivar::permutation
