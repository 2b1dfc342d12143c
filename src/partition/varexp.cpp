#include "partition/varexp.h"

#include "geometry/distance_memory.h"
#include "partition/analysis_inputs.h"
#include "partition/shapes_do_not_vary.h"
#include "partition/varexp_report.h"

namespace lumivar::partition {

VarExpOutcome varexp(runtime::WindowRuntime& ui, runtime::Session& s, const SumsSettings& settings) {
  VarExpOutcome o;
  o.sizes = check_analysis_inputs(s);
  const SumsMethod way = sums_method_for(settings, s.data.rows());
  if (way == SumsMethod::kMatrix)
    geometry::check_distance_matrix_memory(s.data.rows(),
                                           geometry::distance_matrix_bytes(s.dmatrix.rows()));
  AnalysisFit fit = fit_and_partition(s.data, s.group, s.repgroup, o.sizes, way, settings,
                                     s.dimensions);
  s.dmatrix = std::move(fit.dmatrix);
  o.xpt = std::move(fit.xpt);
  o.consensus = std::move(fit.consensus);
  o.partition = fit.partition;
  o.sums = fit.sums;
  o.report = varexp_report(o.partition);
  ui.set_string_by_tag("ResBox", o.report);
  warn_if_shapes_do_not_vary(ui, o.partition);
  return o;
}

}  // namespace lumivar::partition
