#include "permutation/permutation_test.h"

#include <cmath>
#include <limits>
#include <memory>

namespace lumivar::permutation {

PermutationTest run_permutation_test(const DesignData& design,
                                     const partition::Partition& observed, std::uint64_t nperm,
                                     const PermuteSettings& settings) {
  PermutationTest t;
  t.engine = settings.engine;
  t.plan = run_plan(settings, nperm);
  const std::unique_ptr<PermutationEngine> engine = make_engine(settings.engine, design);
  t.counts = permutation_counts(*engine, design.sizes, t.plan);
  t.plan.progress = nullptr;
  t.plan.cancel = nullptr;

  // An effect whose observed F is undefined (NaN or infinite: no levels to
  // compare, or no spread within the cells) has no P at all; a count that
  // nothing can reach would otherwise print the smallest P possible.
  const double labellings = static_cast<double>(nperm) + 1;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int k = 0; k < partition::kEffectCount; ++k) {
    const bool defined = std::isfinite(observed.effects[k].f);
    t.p_perm_f[k] = defined ? static_cast<double>(t.counts.exceedances[k]) / labellings : nan;
    t.p_perm_ss[k] = defined ? static_cast<double>(t.counts.ev_exceedances[k]) / labellings : nan;
  }
  return t;
}

}  // namespace lumivar::permutation
