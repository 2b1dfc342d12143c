#include "batch/strata_output.h"

namespace lumivar::batch {

void check_strata_design(const runtime::Session& s) {
  models::strata_design(s.group, s.repgroup, s.data.rows());
}

permutation::StrataResults strata_after_varexp(const runtime::Session& s,
                                               const partition::VarExpOutcome& v) {
  return permutation::strata_analysis({s.group, s.repgroup, v.xpt}, nullptr);
}

permutation::StrataResults strata_after_permute(const runtime::Session& s,
                                                const permutation::PermuteOutcome& r) {
  return permutation::strata_analysis({s.group, s.repgroup, r.xpt}, &r.test.plan);
}

}  // namespace lumivar::batch
