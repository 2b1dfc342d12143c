#include "partition/varexp.h"

#include "partition/analysis_inputs.h"
#include "partition/varexp_report.h"

namespace lumivar::partition {

VarExpOutcome varexp(runtime::WindowRuntime& ui, runtime::Session& s, const SumsSettings& settings) {
  VarExpOutcome o;
  o.sizes = check_analysis_inputs(s);
  AnalysisFit fit = fit_and_partition(s.data, s.group, s.repgroup, o.sizes,
                                      sums_method_for(settings, s.data.rows()), settings);
  s.dmatrix = std::move(fit.dmatrix);
  o.xpt = std::move(fit.xpt);
  o.consensus = std::move(fit.consensus);
  o.partition = fit.partition;
  o.sums = fit.sums;
  ui.set_string_by_tag("ResBox", varexp_report(o.partition));
  return o;
}

}  // namespace lumivar::partition
