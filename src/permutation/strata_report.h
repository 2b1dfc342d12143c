#pragma once
// The tests by strata as one result and as text: the table (from the
// factorial partition's sums), and after a permutation run the P values and
// effect sizes of the tests by residuals. The text follows the layout of the
// other reports: tab-separated columns, one block per stratum.
#include <optional>
#include <string>

#include "partition/partition.h"
#include "partition/strata_table.h"
#include "permutation/strata_test.h"
#include "runtime/matrix.h"

namespace lumivar::permutation {

struct StrataResults {
  partition::StrataTable table;
  std::optional<StrataTest> test;  // only after a permutation run
};

// The table for the observed partition `p` of the superimposed rows `xpt`
// (group and measurement codes as loaded) and, when `plan` is given, the
// permutation tests. Raises (see strata_design) when the design has no
// tests by strata.
StrataResults strata_analysis(const runtime::Matrix& group, const runtime::Matrix& repgroup,
                              const runtime::Matrix& xpt, const partition::Partition& p,
                              const RunPlan* plan);

// "Tests by strata" and the two blocks; P and Z columns only with a test.
std::string strata_report(const StrataResults& r);

}  // namespace lumivar::permutation
