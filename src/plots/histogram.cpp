#include "plots/histogram.h"

#include <algorithm>
#include <cmath>

namespace lumivar::plots {

Histogram make_histogram(const std::vector<double>& values, double also) {
  Histogram h;
  double lo = INFINITY, hi = -INFINITY;
  std::size_t finite = 0;
  for (double v : values) {
    if (!std::isfinite(v)) {
      ++h.non_finite;
      continue;
    }
    ++finite;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  if (finite == 0) return h;
  if (std::isfinite(also)) {
    lo = std::min(lo, also);
    hi = std::max(hi, also);
  }
  if (hi == lo) {
    lo -= 0.5;
    hi += 0.5;
  }
  const auto bins = std::clamp<std::size_t>(
      static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(finite)))), 10, 60);
  h.lo = lo;
  h.width = (hi - lo) / static_cast<double>(bins);
  h.counts.assign(bins, 0);
  for (double v : values) {
    if (!std::isfinite(v)) continue;
    const double at = std::floor((v - lo) / h.width);
    h.counts[std::min(bins - 1, static_cast<std::size_t>(std::max(0.0, at)))] += 1;
  }
  return h;
}

}  // namespace lumivar::plots
