#pragma once
// Total sum of squares from a matrix of squared distances: for points in a
// Euclidean space the summed squared deviations of N points from their mean
// equal their summed squared pairwise distances divided by N.
#include <atomic>

#include "runtime/matrix.h"

namespace lumivar::partition {

// Where the sums over a distance matrix read the pair (i, j), i < j. Both
// add the same pairs in the same order. kSymmetric reads d(j, i), down the
// columns, where one row's pairs lie side by side in memory: for a symmetric
// matrix (the analyses' distance matrices are mirrored exactly) the same sum
// to the bit, and many times faster on a large one (the strided reads of
// kUpper miss the cache at every pair).
enum class Reading { kUpper, kSymmetric };

// (1 / ngroup) times the sum of d(i, j) over all pairs i < j, added in row
// order. Only the entries above the diagonal are read (below it with
// kSymmetric). `d`: m x m (at least m columns); ngroup 0 gives a non-finite
// result. O(m^2). A raised `cancel` (Ctrl-C) is heard after every row and
// raises runtime::Cancelled.
double getsstotal(const runtime::Matrix& d, double ngroup, const std::atomic<bool>* cancel = nullptr,
                  Reading reading = Reading::kUpper);

namespace detail {
// Raises an Error unless `d` has at least as many columns as rows.
void check_distance_matrix(const runtime::Matrix& d);
// Raises runtime::Cancelled when `cancel` is raised: the sums over a large
// matrix take seconds, and Ctrl-C must not wait for them.
void stop_if_cancelled(const std::atomic<bool>* cancel);
// The m - i entries d(i, i+1 .. m) read as `reading` says: `step` apart from `first`.
struct PairsOfRow {
  const double* first;
  std::size_t step;
};
PairsOfRow pairs_of_row(const runtime::Matrix& d, std::size_t i, Reading reading);
}  // namespace detail

}  // namespace lumivar::partition
