#pragma once
// The counting of a permutation test: how many of the relabellings reach the
// observed statistics, per effect, for the F test and for the explained-sum
// test. The relabellings run in parallel (oneTBB); the counts are the same
// for any number of threads because relabelling i always draws from its own
// stream and counts are merged by addition.
#include <array>
#include <cstdint>
#include <vector>

#include "partition/partition.h"
#include "permutation/permutation_engine.h"
#include "permutation/permute_settings.h"

namespace lumivar::permutation {

using partition::kEffectCount;
using partition::PerEffect;
using Effects = PerEffect<double>;

// The statistics one labelling is judged by: its seven within sums (in
// effect order: G1, G2, T, G1xG2, G1xt, G2xt, G1xG2xt cells), its seven
// effect sums and error sum (zero at rounding level, never negative), and its
// seven F ratios (SS / df) / (error SS / df_error), each from its own error
// term.
struct Statistics {
  Effects within{};
  Effects ss{};
  double error = 0;
  Effects f{};
};

// Made with the same operations as the observed partition, so a labelling
// with the same within sums gets bit-identical F ratios.
Statistics statistics(double sstotal, const WithinSums& w, const partition::DesignSizes& sizes);

struct Counts {
  // F test: relabellings with F above the observed F, plus 1.
  PerEffect<std::uint64_t> exceedances{};
  // Explained-sum test: relabellings whose within sum is at most the observed
  // one, plus 1.
  PerEffect<std::uint64_t> ev_exceedances{};
  // Each relabelling's F ratios, in relabelling order, when asked for.
  std::vector<Effects> f_values;
};

// Adds one relabelling's hits, deciding ties by the rule of ties.h with the
// total sum of squares `sstotal` as scale: a tie counts for the
// explained-sum test and not for the F test. An effect whose observed F is
// not a number (or infinite) gets no F hits: its P is undefined. An effect
// whose observed sum of squares is zero (partition::clean_sums) is hit by
// every relabelling in both tests: its P values are 1.
void tally(const Statistics& observed, const Statistics& relabelled, double sstotal,
           Counts& counts);

// Runs relabellings 0 .. nperm - 1 against the engine's own observed
// statistics (the identity relabelling) of a design of `sizes`. They run in parallel waves of about
// 0.1 s; after each wave the calling thread reports progress, the last time
// with done = total, and also every 0.1 s within a longer wave (then with
// done < total). A raised cancel flag stops the run between relabellings, or
// within one where the engine's worker listens, and raises runtime::Cancelled.
Counts permutation_counts(const PermutationEngine& engine, const partition::DesignSizes& sizes,
                          const RunPlan& plan);

}  // namespace lumivar::permutation
