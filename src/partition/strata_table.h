#pragma once
// The table of the tests by strata: the seven effects of the factorial
// partition, each over the denominator of its stratum. Between specimens
// (G1, G2, G1xG2) over the specimens within the G1 x G2 cells; within
// specimens (T, G1xt, G2xt, G1xG2xt) over the residual. Both denominators
// have mg - n1 n2 degrees of freedom, and their sums add up to the error sum
// of the factorial partition.
#include <array>

#include "partition/partition.h"
#include "partition/strata_design.h"
#include "runtime/matrix.h"

namespace lumivar::partition {

struct StrataRow {
  double ss = 0, df = 0, ms = 0;
  double f = 0;  // NaN on the two denominator rows
};

struct StrataTable {
  PerEffect<StrataRow> effects;  // in the partition's effect order
  StrataRow specimens;           // specimens within G1 x G2
  StrataRow residual;            // within specimens, after the effects
  double ss_between_specimens = 0;
  double ss_within_specimens = 0;
  // (MS_specimens - MS_residual) / (MS_specimens + MS_residual): the share of
  // the shape variation among specimens that is not measurement error, when
  // the two measurements are two digitisings of each specimen.
  double repeatability = 0;
};

// Whether effect k is tested between specimens (G1, G2, G1xG2).
inline bool between_specimens(int k) { return k == kG1 || k == kG2 || k == kG1xG2; }

// Sum over specimens of |x_lower - x_upper|^2 / 2 over the coordinates of
// `xpt` (its trailing column excluded), adding in column order as the
// distance matrix does. O(mg p).
double within_specimen_ss(const runtime::Matrix& xpt, const StrataDesign& d);

// The table from the partition's total and effect sums and the sum within
// specimens. O(1).
StrataTable strata_table(const Partition& p, const StrataDesign& d, double ss_within_specimens);

}  // namespace lumivar::partition
