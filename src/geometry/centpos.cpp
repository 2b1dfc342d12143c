#include "geometry/centpos.h"

#include <algorithm>

namespace lumivar::geometry {

namespace detail {

void centroid(const double* row, std::size_t length, double c[2]) {
  const std::size_t k = length / 2;
  double sx = 0.0;
  double sy = 0.0;
  for (std::size_t j = 0; j < k; ++j) {
    sx += row[2 * j];
    sy += row[2 * j + 1];
  }
  // With no landmark this is 0/0: NaN, which callers rely on seeing.
  const auto divisor = static_cast<double>(k);
  c[0] = sx / divisor;
  c[1] = sy / divisor;
}

}  // namespace detail

runtime::Matrix centpos(const runtime::Matrix& x) {
  // A row or a column is contiguous in storage; any other shape is read in
  // element order, its length being the larger dimension.
  const std::size_t length = std::max(x.rows(), x.cols());
  runtime::Matrix y(1, 2);
  detail::centroid(x.data(), length, y.data());
  return y;
}

}  // namespace lumivar::geometry
