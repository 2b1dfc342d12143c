#pragma once
// Configuration rows as the shape-space computations take them: one row per
// specimen and measurement holding k landmarks of d coordinates each
// (x1, y1[, z1], x2, ...), k·d numbers in all; the data's trailing value is
// no coordinate and is dropped. The dimension d is a parameter, never
// assumed from the layout.
#include <cstddef>

#include <Eigen/Dense>

#include "runtime/matrix.h"

namespace lumivar::shape_space {

// Rows of k·d coordinates, row-major so that one configuration is contiguous.
using CoordinateRows = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

// Number of landmarks of rows of `columns` columns (k·d coordinates and one
// trailing value). Raises when the coordinates are not a whole number of
// landmarks of `dimension` coordinates, or there are none.
std::size_t landmark_count(std::size_t columns, std::size_t dimension);

// The coordinate block of `rows` (m x (k·d + 1)): m x k·d. Raises as
// landmark_count. Copies: 8 m k d bytes.
CoordinateRows coordinate_rows(const runtime::Matrix& rows, std::size_t dimension);

}  // namespace lumivar::shape_space
