#pragma once
// The text of the permutation table that "Permute" writes into the results
// box: the observed partition with the two permutation P values per effect.
#include <string>

#include "partition/partition.h"
#include "permutation/permutation_counts.h"

namespace lumivar::permutation {

// `p`: the observed partition (from the distance matrix); `nperm`: the number
// of relabellings; `p_f`, `p_ex`: the F-test and explained-sum P values in
// effect order.
std::string permute_report(const partition::Partition& p, double nperm, const Effects& p_f,
                           const Effects& p_ex);

}  // namespace lumivar::permutation
