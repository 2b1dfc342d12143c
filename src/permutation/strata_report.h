#pragma once
// The tests by strata as one result and as text: the table of the two
// strata (models/strata_table.h), and after a permutation run the P values
// and effect sizes of the tests by residuals. The text follows the layout of
// the other reports: tab-separated columns, one block per stratum.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "geometry/getconsensus.h"
#include "models/strata_table.h"
#include "models/term_projection.h"
#include "permutation/strata_test.h"
#include "runtime/matrix.h"

namespace lumivar::permutation {

struct StrataResults {
  models::StrataTable table;       // P and Z filled after a permutation run
  std::optional<StrataTest> test;  // only after a permutation run
  // The ids of the specimens (one per row of the group codes) when the study
  // came from a sheet, for naming those left out; empty: named by number.
  std::vector<std::string> specimen_ids;
};

// What the tests by strata are run on: the codes as loaded, the superimposed
// rows `xpt` (trailing column ignored) and, for a study where some specimens
// have one row, the 0-based specimen of every row (empty: the plain layout).
struct StrataInputs {
  const runtime::Matrix& group;
  const runtime::Matrix& repgroup;
  const runtime::Matrix& xpt;
  std::vector<std::size_t> row_specimen = {};
  models::SsType ss_type = models::SsType::kIII;
};

// The table and, when `plan` is given, the permutation tests. Raises (see
// models::strata_design) when the design has no tests by strata.
StrataResults strata_analysis(const StrataInputs& in, const RunPlan* plan);

// The tests by strata of loaded landmark data on their own, for designs the
// specified analyses may refuse: superimposes every row of `data` (with
// `superimposition`), finds the specimen of each row (partition::row_specimens)
// and runs strata_analysis. Raises before the superimposition when the
// design has no tests by strata.
StrataResults strata_of_data(const runtime::Matrix& data, const runtime::Matrix& group,
                             const runtime::Matrix& repgroup, models::SsType type,
                             const geometry::SuperimpositionSettings& superimposition,
                             const RunPlan* plan);

// "Tests by strata", the two blocks and the footer; P and Z columns only with
// a test. The footer names the type of the sums on unbalanced designs and
// counts the specimens left out (left_out_warning with r.specimen_ids).
std::string strata_report(const StrataResults& r);

// One line for the specimens measured once, naming the first few: by
// `specimen_ids` (one per row of the group codes: an imported sheet's ids)
// when given, else by number from 1 in the order of the group codes. Empty
// when there are none.
std::string left_out_warning(const models::StrataTable& t, const std::vector<std::string>& specimen_ids = {});

}  // namespace lumivar::permutation
