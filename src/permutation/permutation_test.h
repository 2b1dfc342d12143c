#pragma once
// The permutation test of a superimposed design, without a window: the
// engine, the run of relabellings and the P values. The "Permute" action,
// the batch tool, the views and the saved results all read its one result.
#include <cstdint>

#include "partition/partition.h"
#include "permutation/permutation_counts.h"
#include "permutation/permutation_engine.h"
#include "permutation/permute_settings.h"

namespace lumivar::permutation {

struct PermutationTest {
  Engine engine = Engine::kFast;
  // How the run was made: the seed actually used (drawn from the system when
  // none was given), the threads used; no hooks.
  RunPlan plan;
  // Counts from 1, and each relabelling's F ratios when the settings asked
  // for them and nperm <= kMaxKeptFValues.
  Counts counts;
  // NaN for an effect whose observed F is NaN or infinite.
  Effects p_perm_f{};   // Perm F P = exceedances / (nperm + 1)
  Effects p_perm_ss{};  // Perm Ex P = ev_exceedances / (nperm + 1)
};

// Runs `nperm` relabellings of `design` under `settings` (engine, seed,
// threads, hooks, F values kept). `observed` is the partition the report
// prints; an effect whose F there is undefined gets NaN P values. Raises
// runtime::Cancelled when the settings' cancel flag stops the run.
PermutationTest run_permutation_test(const DesignData& design,
                                     const partition::Partition& observed, std::uint64_t nperm,
                                     const PermuteSettings& settings);

}  // namespace lumivar::permutation
