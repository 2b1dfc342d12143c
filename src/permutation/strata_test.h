#pragma once
// Permutation tests of the tests by strata, by residuals under reduced
// models. With specimen means s_i = (x_lower + x_upper) / 2 and differences
// d_i = x_lower - x_upper, the between-specimen sums depend only on the s_i
// and the within-specimen sums only on the d_i. Each effect is tested on its
// own relabelled data, fitted values of a model without the effect plus the
// relabelled residuals from that model:
//
//   G1       s, G2 means, residuals permuted among specimens
//   G2       s, G1 means, permuted
//   G1xG2    s, additive G1 + G2 means, permuted
//   T        d, no model (the residuals are the d_i), signs flipped
//   G1xt     d, G2 means, signs flipped
//   G2xt     d, G1 means, signs flipped
//   G1xG2xt  d, additive G1 + G2 means, signs flipped
//
// Every relabelling recomputes the effect's F over its stratum's denominator
// (specimens within cells, or the residual) from the coordinates, O(mg p)
// per effect. Relabelling i uses the permutation and the per-specimen draws
// of draw_relabelling(seed, i): a draw of at least 0.5 flips that specimen's
// sign. Results are identical for any number of threads.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "partition/partition.h"
#include "partition/strata_design.h"
#include "permutation/permute_settings.h"
#include "runtime/matrix.h"

namespace lumivar::permutation {

struct StrataTest {
  using Effects = partition::PerEffect<double>;
  std::uint64_t nperm = 0;
  std::uint64_t seed = 0;
  // 1 + the relabellings whose F reaches the observed F (ties count), per
  // effect in the partition's order.
  partition::PerEffect<std::uint64_t> counts{};
  Effects f{};  // observed F ratios, from the coordinates; NaN for an effect with 0 df
  // counts / (nperm + 1); NaN where the observed F cannot be computed.
  Effects p{};
  // (F - mean of the relabelled F) / their standard deviation; NaN with
  // fewer than two relabellings or when they do not vary.
  Effects z{};
};

// `xpt`: the 2 mg superimposed configurations (trailing column ignored),
// rows as `design` describes them. Memory O(mg p) per effect.
StrataTest strata_test(const runtime::Matrix& xpt, const partition::StrataDesign& design,
                       const RunPlan& plan);

}  // namespace lumivar::permutation
