#include "partition/varexp.h"

#include "geometry/allpairwiseprocrustes.h"
#include "partition/analysis_inputs.h"
#include "partition/varexp_report.h"

namespace lumivar::partition {

Partition varexp(runtime::WindowRuntime& ui, runtime::Session& s) {
  const DesignSizes sizes = check_analysis_inputs(s);
  s.dmatrix = geometry::allpairwiseprocrustes(s.data);
  const Partition p = compute_partition(s.dmatrix, s.group, s.repgroup, sizes);
  ui.set_string_by_tag("ResBox", varexp_report(p));
  return p;
}

}  // namespace lumivar::partition
