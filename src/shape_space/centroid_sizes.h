#pragma once
// Centroid sizes of configurations as they were measured: the square root of
// the summed squared distances of the landmarks from their centroid, in the
// unit of the coordinates. Taken from the rows as loaded, before the
// superimposition scales every row to unit size, since size is what
// allometry regresses shape on.
#include <cstddef>
#include <vector>

#include "runtime/matrix.h"

namespace lumivar::shape_space {

// One size per row of `rows` (m x (k·d + 1), the trailing value ignored), for
// landmarks of `dimension` coordinates. Raises as landmark_count. O(m k d).
std::vector<double> centroid_sizes(const runtime::Matrix& rows, std::size_t dimension);

}  // namespace lumivar::shape_space
