#include "partition/rounding_zero.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumivar::partition {

namespace {

// 512 ulps: above the error of the subtractions that make an effect's sum
// (a handful of sums of up to m^2 / 2 distances, each at most 2), and below
// any variation a digitiser can measure by eleven orders of magnitude.
constexpr double kUlps = 512;

}  // namespace

double rounding_level(double rows, double sstotal) {
  const double scale = std::max(std::abs(rows), std::abs(sstotal));
  return kUlps * std::numeric_limits<double>::epsilon() * scale;
}

double clean_sum(double ss, double level) {
  if (std::isnan(ss)) return ss;
  return ss <= level ? 0.0 : ss;
}

double ratio_or_nan(double num, double den) {
  if (!(den > 0) || !std::isfinite(den)) return std::numeric_limits<double>::quiet_NaN();
  return num / den;
}

}  // namespace lumivar::partition
