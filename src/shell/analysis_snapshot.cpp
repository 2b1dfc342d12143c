#include "shell/analysis_snapshot.h"

#include "geometry/getconsensus.h"
#include "partition/analysis_inputs.h"

namespace lumivar::shell {

std::vector<double> AnalysisSnapshot::f_values_of(int k) const {
  std::vector<double> out;
  out.reserve(f_values.size());
  for (const permutation::Effects& f : f_values) out.push_back(f[k]);
  return out;
}

AnalysisSnapshot varexp_snapshot(const runtime::Session& s, const partition::Partition& p) {
  AnalysisSnapshot a;
  a.kind = AnalysisKind::kVarExp;
  a.data = s.data;
  a.group = s.group;
  a.repgroup = s.repgroup;
  a.sizes = partition::check_analysis_inputs(s);
  const partition::Codings c = partition::make_codings(s.group, s.repgroup, s.data.rows());
  a.g1 = c.g1;
  a.g2 = c.g2;
  a.t = c.t;
  geometry::Consensus fit = geometry::getconsensus(s.data);
  a.xpt = std::move(fit.xpt);
  a.consensus = std::move(fit.y);
  a.partition = p;
  return a;
}

AnalysisSnapshot permute_snapshot(const runtime::Session& s, permutation::PermuteOutcome&& o) {
  AnalysisSnapshot a = varexp_snapshot(s, o.partition);
  a.kind = AnalysisKind::kPermute;
  a.nperm = o.nperm;
  a.seed = o.seed;
  a.p_perm_f = o.p_perm_f;
  a.f_values = std::move(o.f_values);
  return a;
}

}  // namespace lumivar::shell
