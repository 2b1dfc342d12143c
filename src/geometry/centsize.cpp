#include "geometry/centsize.h"

#include <cmath>
#include <vector>

#include "geometry/centpos.h"

namespace lumivar::geometry {

namespace detail {

double centroid_size(const double* row, std::size_t length, std::size_t d) {
  double c[3];
  centroid(row, length, c, d);
  const std::size_t k = length / d;
  double sum = 0.0;
  for (std::size_t j = 0; j < k; ++j) {
    // x term first, then y (then z): the rounding of the superimposition
    // depends on it.
    for (std::size_t a = 0; a < d; ++a) {
      const double t = row[d * j + a] - c[a];
      sum += t * t;
    }
  }
  return std::sqrt(sum);
}

}  // namespace detail

runtime::Matrix centsize(const runtime::Matrix& x) {
  const std::size_t n = x.rows();
  const std::size_t length = x.cols();
  runtime::Matrix y(n, 1);
  std::vector<double> row(length);
  for (std::size_t i = 1; i <= n; ++i) {
    for (std::size_t j = 1; j <= length; ++j) row[j - 1] = x(i, j);
    y(i) = detail::centroid_size(row.data(), length);
  }
  return y;
}

}  // namespace lumivar::geometry
