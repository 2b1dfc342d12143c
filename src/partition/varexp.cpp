#include "partition/varexp.h"

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/distance_memory.h"
#include "partition/analysis_inputs.h"
#include "partition/varexp_report.h"

namespace lumivar::partition {

VarExpOutcome varexp(runtime::WindowRuntime& ui, runtime::Session& s) {
  VarExpOutcome o;
  o.sizes = check_analysis_inputs(s);
  geometry::check_distance_matrix_memory(s.data.rows(), geometry::distance_matrix_bytes(s.dmatrix.rows()));
  geometry::ProcrustesDistances fit = geometry::procrustes_distances(s.data);
  s.dmatrix = std::move(fit.d);
  o.xpt = std::move(fit.xpt);
  o.consensus = std::move(fit.consensus);
  o.partition = compute_partition(s.dmatrix, s.group, s.repgroup, o.sizes);
  ui.set_string_by_tag("ResBox", varexp_report(o.partition));
  return o;
}

}  // namespace lumivar::partition
