#pragma once
// Total sum of squares from a matrix of squared distances: for points in a
// Euclidean space the summed squared deviations of N points from their mean
// equal their summed squared pairwise distances divided by N.
#include "runtime/matrix.h"

namespace lumivar::partition {

// (1 / ngroup) times the sum of d(i, j) over all pairs i < j, added in row
// order. Only the entries above the diagonal are read. `d`: m x m (at least
// m columns); ngroup 0 gives a non-finite result. O(m^2).
double getsstotal(const runtime::Matrix& d, double ngroup);

namespace detail {
// Raises an Error unless `d` has at least as many columns as rows.
void check_distance_matrix(const runtime::Matrix& d);
}  // namespace detail

}  // namespace lumivar::partition
