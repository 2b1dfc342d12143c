#pragma once
// Total sum of squares from a matrix of squared distances: for points in a
// Euclidean space the summed squared deviations of N points from their mean
// equal their summed squared pairwise distances divided by N.
#include <atomic>

#include "runtime/matrix.h"

namespace lumivar::partition {

// (1 / ngroup) times the sum of d(i, j) over all pairs i < j, added in row
// order. Only the entries above the diagonal are read. `d`: m x m (at least
// m columns); ngroup 0 gives a non-finite result. O(m^2). A raised `cancel`
// (Ctrl-C) is heard after every row and raises runtime::Cancelled.
double getsstotal(const runtime::Matrix& d, double ngroup, const std::atomic<bool>* cancel = nullptr);

namespace detail {
// Raises an Error unless `d` has at least as many columns as rows.
void check_distance_matrix(const runtime::Matrix& d);
// Raises runtime::Cancelled when `cancel` is raised: the sums over a large
// matrix take seconds, and Ctrl-C must not wait for them.
void stop_if_cancelled(const std::atomic<bool>* cancel);
}  // namespace detail

}  // namespace lumivar::partition
