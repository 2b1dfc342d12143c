#include "batch/strata_output.h"

namespace lumivar::batch {

StrataRequest strata_request(const runtime::Session& s, bool from_sheet, int ss_type) {
  StrataRequest r;
  r.ss_type = ss_type == 2 ? models::SsType::kII : models::SsType::kIII;
  if (from_sheet) {
    const std::size_t last = s.data.cols();
    for (std::size_t row = 1; row <= s.data.rows(); ++row)
      r.row_specimen.push_back(static_cast<std::size_t>(s.data(row, last)) - 1);
  }
  return r;
}

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
