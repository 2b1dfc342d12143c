#pragma once
// Pooled within-group sum of squares from a matrix of squared distances.
#include <cstddef>

#include "runtime/matrix.h"

namespace lumivar::partition {

// (1 / npg) times the sum of d(i, j) over the pairs i < j whose codes are
// equal (exact equality of the doubles; NaN matches nothing), added in row
// order. `group`: one code per row of `d`, any shape, read in element order;
// entries past the m-th are not read, fewer than m raise an Error. `npg`: the
// common number of specimens per group; 0 gives a non-finite result. Only
// the entries above the diagonal are read. O(m^2). The analyses take all
// seven within sums in one pass (within_sums.h).
double getssgroup(const runtime::Matrix& d, const runtime::Matrix& group, double npg);

namespace detail {
// Raises an Error unless `group` holds a code for each of the m rows.
void check_codes(const runtime::Matrix& group, std::size_t m);
}  // namespace detail

}  // namespace lumivar::partition
