#include "partition/varexp_report.h"

#include <vector>

#include "runtime/format.h"

namespace lumivar::partition {

std::string varexp_report(const Partition& p) {
  using runtime::format;
  // Each row format has seven conversions for six values, so a row ends with
  // its Per Exp value.
  static const PerEffect<const char*> rows = {
      "\\n\\nG1 \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f",
      "\\nG2 \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f",
      "\\nT(rep) \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f",
      "\\nG1xG2 \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f",
      "\\nG1xt \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f",
      "\\nG2xt \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f",
      "\\nG1xG2xt \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f"};
  std::vector<std::string> pieces;
  pieces.push_back(format("For the entire data set, SS=%f", {p.sstotal}));
  pieces.push_back(format("\\n\\nGrouping \\tSS \\tdf \\tMS \\tF \\tAnalytic P \\tPer Exp"));
  for (int k = 0; k < kEffectCount; ++k) {
    const Effect& e = p.effects[k];
    pieces.push_back(format(rows[k], {e.ss, e.df, e.ms, e.f, e.p_analytic, e.per_exp}));
  }
  pieces.push_back(format("\\n\\nError  \\t%2.4f \\t%i  \\t%2.4f \\t - \\t \\t%2.4f",
                          {p.ss_error, p.df_error, p.ms_error, p.per_exp_error}));
  pieces.push_back(format(
      "\\n\\n DO NOT USE ANALYTIC P_VALUES!  Probably not valid due to non-normality + repeated "
      "measures correlation- for comparisons only!"));
  return runtime::join(pieces);
}

}  // namespace lumivar::partition
