#pragma once
// The sums of squared distances that the partition needs, taken from the
// superimposed coordinates instead of the m x m distance matrix. For a group
// of n rows, the sum of its pairwise squared distances equals n times the sum
// of the rows' squared distances from the group's mean, so every sum is two
// passes over the rows: O(m p) time and O(groups) memory besides the
// coordinates, against O(m^2 p) time and 8 m^2 bytes for the matrix.
//
// Accuracy: each group is centred on its own mean before its squares are
// added, so no large sums cancel, and every sum is compensated (Neumaier), so
// the rounding error stays a few units of the last place whatever m is. The
// matrix path adds m^2 / 2 entries one after the other and carries an error
// that grows with m; the two agree to about 1e-13 relative on the studies of
// the tests and examples.
#include "partition/partition.h"
#include "runtime/matrix.h"

namespace lumivar::partition {

// What getssgroup(d, codes, divisor) gives over the squared distances d
// between the rows of `xpt` (columns 1 .. n - 1; the trailing column never
// enters): the pairs of rows whose codes are equal (exact equality, so 0 and
// -0 match; NaN matches nothing), divided by `divisor`. `codes`: at least m
// codes read in element order, fewer raise an Error.
double within_sum_from_coordinates(const runtime::Matrix& xpt, const runtime::Matrix& codes,
                                   double divisor);

// What getsstotal(d, divisor) gives: all pairs, divided by `divisor`.
double total_sum_from_coordinates(const runtime::Matrix& xpt, double divisor);

// The whole partition of compute_partition without the distance matrix; the
// eight sums are computed in parallel (each in a fixed order, so the result
// does not depend on the number of threads). Raises as make_codings does.
Partition partition_from_coordinates(const runtime::Matrix& xpt, const runtime::Matrix& group,
                                     const runtime::Matrix& repgroup, const DesignSizes& sizes);

}  // namespace lumivar::partition
