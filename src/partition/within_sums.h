#pragma once
// The seven within sums of a partition from a distance matrix in one pass.
#include <atomic>

#include "partition/partition.h"

namespace lumivar::partition {

// What getssgroup(d, codings[k], divisors[k]) gives for each effect k, each
// sum added in the same order and so equal to the bit, but from one pass over
// the symmetric matrix `d` rather than seven, read down its columns
// (Reading::kSymmetric, see getsstotal.h):
// on a large matrix the passes are bound by memory, so this is several times
// faster. Raises as getssgroup does; a raised `cancel` is heard after every
// row.
WithinSums within_sums_of_distances(const Matrix& d, const Codings& codings, const Divisors& divisors,
                                    const std::atomic<bool>* cancel = nullptr);

}  // namespace lumivar::partition
