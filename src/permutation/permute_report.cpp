#include "permutation/permute_report.h"

#include <vector>

#include "runtime/format.h"

namespace lumivar::permutation {

std::string permute_report(const partition::Partition& p, double nperm, const Effects& p_f,
                           const Effects& p_ex) {
  using runtime::format;
  // Every row format has eight conversions for seven values, and all but
  // the first end in an incomplete "%2.4": formatting stops before the
  // eighth, and the row ends with its Perm Ex P once trailing blanks go.
  static const PerEffect<const char*> rows = {
      "\\n\\nG1 \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f \\t%2.4f",
      "\\nG2 \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f \\t%2.4",
      "\\nT(rep) \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f \\t%2.4",
      "\\n\\nG1xG2 \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f \\t%2.4",
      "\\n\\nG1xt \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f \\t%2.4",
      "\\n\\nG2xt \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f \\t%2.4",
      "\\n\\n\\nG1xG2xt \\t%2.4f \\t%i \\t%2.4f \\t%4.2f \\t%2.4f \\t%2.4f \\t%2.4f \\t%2.4"};
  std::vector<std::string> pieces;
  pieces.push_back(
      format("For the entire data set, SS=%f, using %i permuations", {p.sstotal, nperm}));
  pieces.push_back(
      format("\\n\\nGrouping \\tSS \\tdf \\tMS \\tF \\tPer Exp \\tPerm F P \\tPerm Ex P"));
  for (int k = 0; k < kEffectCount; ++k) {
    const partition::Effect& e = p.effects[k];
    pieces.push_back(format(rows[k], {e.ss, e.df, e.ms, e.f, e.per_exp, p_f[k], p_ex[k]}));
  }
  pieces.push_back(format("\\n\\n\\nError  \\t%2.4f \\t%i - \\t%2.4f \\t -  \\t%2.4f",
                          {p.ss_error, p.df_error, p.ms_error, p.per_exp_error}));
  return runtime::join(pieces);
}

}  // namespace lumivar::permutation
