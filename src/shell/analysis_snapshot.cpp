#include "shell/analysis_snapshot.h"

namespace lumivar::shell {

std::vector<double> AnalysisSnapshot::f_values_of(int k) const {
  std::vector<double> out;
  const std::vector<permutation::Effects>& f_values = permutation.counts.f_values;
  out.reserve(f_values.size());
  for (const permutation::Effects& f : f_values) out.push_back(f[k]);
  return out;
}

namespace {

// What both analyses leave for the views: the inputs, the per-row codes and
// the superimposition the distances came from (not computed again here).
AnalysisSnapshot snapshot(const runtime::Session& s, const partition::DesignSizes& sizes,
                          runtime::Matrix&& xpt, runtime::Matrix&& consensus,
                          const partition::Partition& p) {
  AnalysisSnapshot a;
  a.data = s.data;
  a.dimensions = s.dimensions;
  a.group = s.group;
  a.repgroup = s.repgroup;
  a.sources = s.sources;
  a.sizes = sizes;
  const partition::Codings c = partition::make_codings(s.group, s.repgroup, s.data.rows());
  a.g1 = c[partition::kG1];
  a.g2 = c[partition::kG2];
  a.t = c[partition::kT];
  a.xpt = std::move(xpt);
  a.consensus = std::move(consensus);
  a.partition = p;
  return a;
}

}  // namespace

AnalysisSnapshot varexp_snapshot(const runtime::Session& s, partition::VarExpOutcome&& o) {
  AnalysisSnapshot a =
      snapshot(s, o.sizes, std::move(o.xpt), std::move(o.consensus), o.partition);
  a.kind = AnalysisKind::kVarExp;
  return a;
}

AnalysisSnapshot permute_snapshot(const runtime::Session& s, permutation::PermuteOutcome&& o) {
  AnalysisSnapshot a =
      snapshot(s, o.sizes, std::move(o.xpt), std::move(o.consensus), o.partition);
  a.kind = AnalysisKind::kPermute;
  a.permutation = std::move(o.test);
  return a;
}

}  // namespace lumivar::shell
