#include "shape_space/coordinate_rows.h"

#include <string>

#include "runtime/error.h"

namespace lumivar::shape_space {

std::size_t landmark_count(std::size_t columns, std::size_t dimension) {
  if (dimension == 0 || columns < 1 + dimension || (columns - 1) % dimension != 0)
    runtime::raise("Rows of " + std::to_string(columns) + " columns do not hold landmarks of " +
                   std::to_string(dimension) + " coordinates followed by one trailing value.");
  return (columns - 1) / dimension;
}

CoordinateRows coordinate_rows(const runtime::Matrix& rows, std::size_t dimension) {
  const std::size_t p = landmark_count(rows.cols(), dimension) * dimension;
  const auto m = static_cast<Eigen::Index>(rows.rows());
  // The runtime matrix is column-major: its first p columns are one block.
  return Eigen::Map<const Eigen::MatrixXd>(rows.data(), m, static_cast<Eigen::Index>(p));
}

}  // namespace lumivar::shape_space
