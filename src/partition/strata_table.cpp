#include "partition/strata_table.h"

#include <limits>

namespace lumivar::partition {

double within_specimen_ss(const runtime::Matrix& xpt, const StrataDesign& d) {
  const std::size_t coords = xpt.cols() > 0 ? xpt.cols() - 1 : 0;
  double sum = 0;
  for (std::size_t j = 0; j < d.mg; ++j) {
    double pair = 0;
    for (std::size_t c = 1; c <= coords; ++c) {
      const double diff = xpt(d.lower_row[j] + 1, c) - xpt(d.upper_row[j] + 1, c);
      pair += diff * diff;
    }
    sum += pair;
  }
  return sum / 2;
}

StrataTable strata_table(const Partition& p, const StrataDesign& d, double ss_within_specimens) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  StrataTable t;
  t.ss_within_specimens = ss_within_specimens;
  t.ss_between_specimens = p.sstotal - ss_within_specimens;
  const auto& e = p.effects;
  const double df = d.df_denominator();
  const double ss_s = t.ss_between_specimens - e[kG1].ss - e[kG2].ss - e[kG1xG2].ss;
  const double ss_r = ss_within_specimens - e[kT].ss - e[kG1xT].ss - e[kG2xT].ss - e[kG1xG2xT].ss;
  t.specimens = {ss_s, df, ss_s / df, kNaN};
  t.residual = {ss_r, df, ss_r / df, kNaN};
  for (int k = 0; k < kEffectCount; ++k) {
    // An effect without degrees of freedom (a single G1 or G2 code) has no
    // mean square: its sum is rounding noise around 0.
    const double ms = e[k].df > 0 ? e[k].ss / e[k].df : kNaN;
    const double denominator = between_specimens(k) ? t.specimens.ms : t.residual.ms;
    t.effects[k] = {e[k].ss, e[k].df, ms, ms / denominator};
  }
  t.repeatability = (t.specimens.ms - t.residual.ms) / (t.specimens.ms + t.residual.ms);
  return t;
}

}  // namespace lumivar::partition
