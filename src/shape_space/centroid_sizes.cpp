#include "shape_space/centroid_sizes.h"

#include <cmath>

#include "shape_space/coordinate_rows.h"

namespace lumivar::shape_space {

std::vector<double> centroid_sizes(const runtime::Matrix& rows, std::size_t dimension) {
  const std::size_t k = landmark_count(rows.cols(), dimension), m = rows.rows();
  std::vector<double> sizes(m, 0.0);
  std::vector<double> centre(dimension);
  for (std::size_t i = 1; i <= m; ++i) {
    for (std::size_t c = 0; c < dimension; ++c) {
      double sum = 0;
      for (std::size_t j = 0; j < k; ++j) sum += rows(i, j * dimension + c + 1);
      centre[c] = sum / static_cast<double>(k);
    }
    double ss = 0;
    for (std::size_t j = 0; j < k; ++j)
      for (std::size_t c = 0; c < dimension; ++c) {
        const double e = rows(i, j * dimension + c + 1) - centre[c];
        ss += e * e;
      }
    sizes[i - 1] = std::sqrt(ss);
  }
  return sizes;
}

}  // namespace lumivar::shape_space
