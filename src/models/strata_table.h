#pragma once
// The table of the tests by strata: the seven effects of the factorial
// partition, each over the residual of its stratum's full model. Between
// specimens (G1, G2, G1xG2) over the specimens within the G1 x G2 cells;
// within specimens (T, G1xt, G2xt, G1xG2xt) over the residual. One struct
// holds everything a report or a table writer needs; P and Z stay NaN until
// a permutation run fills them.
#include <cstddef>
#include <limits>
#include <vector>

#include "models/strata_fit.h"
#include "partition/partition.h"

namespace lumivar::models {

struct StrataRow {
  static constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  double ss = 0, df = 0;
  double ms = kNaN;          // NaN without degrees of freedom
  double f = kNaN;           // NaN on the denominator rows and over a zero denominator
  double p = kNaN, z = kNaN;  // from the permutation tests
  // SS / (SS + the stratum residual's SS): the share of what is left for the
  // effect after the other effects that it explains. NaN on denominator rows.
  double partial_r2 = kNaN;
};

struct StrataTable {
  partition::PerEffect<StrataRow> effects;  // in the partition's effect order
  StrataRow specimens;                      // specimens within G1 x G2
  StrataRow residual;                       // within specimens, after the effects
  // Consistency of the two measurements: (MS_S - MS_R) / (MS_S + MS_R).
  double repeatability = 0;
  // Agreement: systematic differences between the measurements count as
  // error, (MS_S - MS_R) / (MS_S + MS_R + 2 (MS_sys - MS_R) / n), MS_sys the
  // pooled mean square of T, G1xt, G2xt and G1xG2xt, n the specimens tested.
  double agreement = 0;
  SsType ss_type = SsType::kIII;
  bool balanced = true;
  std::size_t specimens_tested = 0;
  std::vector<std::size_t> left_out;  // 0-based group rows measured once
};

// The observed table of `fit`. Sums at the rounding level of the
// superimposed rows are exactly zero (partition/rounding_zero.h). O(cells p).
StrataTable strata_table(const StrataFit& fit);

}  // namespace lumivar::models
