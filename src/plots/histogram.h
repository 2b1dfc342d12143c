#pragma once
// Counting values into equal bins.
#include <cstddef>
#include <vector>

namespace lumivar::plots {

struct Histogram {
  // Bin i (0-based) holds the values in [lo + i width, lo + (i + 1) width);
  // the last bin is closed on the right.
  double lo = 0, width = 1;
  std::vector<std::size_t> counts;
  std::size_t non_finite = 0;  // values left out: NaN and infinities

  double hi() const { return lo + width * static_cast<double>(counts.size()); }
};

// Bins of equal width over the range of the finite values and of `also`
// (when finite; the observed value is always inside the range drawn). The
// number of bins is the square root of the number of finite values,
// rounded up, kept between 10 and 60. All values equal: bins over a range
// of 1 centred on them. No finite value: no bins. Cost O(n).
Histogram make_histogram(const std::vector<double>& values, double also);

}  // namespace lumivar::plots
