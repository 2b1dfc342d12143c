#include "batch/strata_output.h"

namespace lumivar::batch {

void check_strata_design(const runtime::Session& s) {
  partition::strata_design(s.group, s.repgroup, s.data.rows());
}

permutation::StrataResults strata_after_varexp(const runtime::Session& s,
                                               const partition::VarExpOutcome& v) {
  return permutation::strata_analysis(s.group, s.repgroup, v.xpt, v.partition, nullptr);
}

permutation::StrataResults strata_after_permute(const runtime::Session& s,
                                                const permutation::PermuteOutcome& r) {
  return permutation::strata_analysis(s.group, s.repgroup, r.xpt, r.partition, &r.test.plan);
}

}  // namespace lumivar::batch
