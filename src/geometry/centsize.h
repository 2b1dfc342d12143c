#pragma once
// Centroid size of landmark configurations: the square root of the summed
// squared distances of the landmarks from their centroid (not divided by k),
// in the unit of the coordinates. The trailing value of an odd-length row is
// no landmark and never enters it.
#include <cstddef>

#include "runtime/matrix.h"

namespace lumivar::geometry {

// One centroid size per row of `x` (n x L), as an n x 1 column in row order.
// A row without landmarks, or whose landmarks coincide, gives 0. O(n L).
runtime::Matrix centsize(const runtime::Matrix& x);

namespace detail {
// Centroid size of one configuration of L contiguous values holding
// floor(L / d) landmarks of d coordinates (d = 2 or 3).
double centroid_size(const double* row, std::size_t length, std::size_t d = 2);
}  // namespace detail

}  // namespace lumivar::geometry
