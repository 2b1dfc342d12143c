#pragma once
// Permutation tests of the tests by strata, by residual randomization under
// reduced models (models/strata_fit.h, models/term_projection.h): each
// effect's relabelled data are the fitted values of its reduced model plus
// relabelled residuals from it, residuals of specimen means permuted among
// specimens (between) and residuals of differences sign-flipped (within);
// the F denominator is always the full model's residual.
//
// Relabelling i uses the permutation and the per-specimen draws of
// draw_relabelling(seed, i) over the specimens in the tests: a draw of at
// least 0.5 flips that specimen's sign. One pass over the rows per
// relabelling and stratum sums up what each cell receives; every effect's
// sums then come from those cell sums, O(cells^2 p) each. Results are
// identical for any number of threads.
#include <cstdint>

#include "models/strata_fit.h"
#include "models/strata_table.h"
#include "partition/partition.h"
#include "permutation/permute_settings.h"

namespace lumivar::permutation {

struct StrataTest {
  using Effects = partition::PerEffect<double>;
  std::uint64_t nperm = 0;
  std::uint64_t seed = 0;
  // 1 + the relabellings whose F reaches the observed F (a tie counts as
  // reaching it), per effect in the partition's order; nperm + 1 for an
  // effect whose observed sum is zero.
  partition::PerEffect<std::uint64_t> counts{};
  // counts / (nperm + 1); NaN where the observed F cannot be computed.
  Effects p{};
  // (log F - mean of the relabelled log F) / their standard deviation; NaN
  // with fewer than two relabellings, when they do not vary, or when the
  // observed or a relabelled F is zero or cannot be computed.
  Effects z{};
};

// `table`: the observed table of `fit` (models::strata_table), whose F and
// sums decide which effects are tested. Memory O(cells p) per thread beyond
// `fit`. Raises runtime::Cancelled when cancelled.
StrataTest strata_test(const models::StrataFit& fit, const models::StrataTable& table,
                       const RunPlan& plan);

}  // namespace lumivar::permutation
