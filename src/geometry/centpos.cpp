#include "geometry/centpos.h"

#include <algorithm>

namespace lumivar::geometry {

namespace detail {

void centroid(const double* row, std::size_t length, double* c, std::size_t d) {
  const std::size_t k = length / d;
  for (std::size_t a = 0; a < d; ++a) c[a] = 0.0;
  for (std::size_t j = 0; j < k; ++j)
    for (std::size_t a = 0; a < d; ++a) c[a] += row[d * j + a];
  // With no landmark this is 0/0: NaN, which callers rely on seeing.
  const auto divisor = static_cast<double>(k);
  for (std::size_t a = 0; a < d; ++a) c[a] /= divisor;
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
