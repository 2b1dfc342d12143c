#include "models/strata_table.h"

#include "partition/rounding_zero.h"

namespace lumivar::models {

namespace {

using partition::clean_sum;
using partition::kEffectCount;
using partition::ratio_or_nan;

StrataRow denominator_row(double ss, double df) {
  StrataRow r;
  r.ss = ss;
  r.df = df;
  r.ms = ratio_or_nan(ss, df);
  return r;
}

// The rounding level of the sums of `fit`, in the reported units.
double strata_rounding_level(const StrataFit& fit) {
  const double rows = 2.0 * static_cast<double>(fit.design.specimens());
  const double total = 2 * fit.between.total() + fit.within.rows().squaredNorm() / 2;
  return partition::rounding_level(rows, total);
}

}  // namespace

StrataTable strata_table(const StrataFit& fit) {
  const double level = strata_rounding_level(fit);
  StrataTable t;
  t.ss_type = fit.type;
  t.balanced = fit.design.balanced();
  t.specimens_tested = fit.design.specimens();
  t.left_out = fit.design.left_out;
  const double df_den = fit.design.df_denominator();
  t.specimens = denominator_row(clean_sum(2 * fit.between.observed(0).residual, level), df_den);
  t.residual = denominator_row(clean_sum(fit.within.observed(0).residual / 2, level), df_den);
  double ss_sys = 0, df_sys = 0;
  for (int k = 0; k < kEffectCount; ++k) {
    const Stratum& s = fit.stratum(k);
    const std::size_t i = term_index(k);
    const StrataRow& den = between_specimens(k) ? t.specimens : t.residual;
    StrataRow& e = t.effects[k];
    e.df = s.df(i);
    e.ss = e.df > 0 ? clean_sum(StrataFit::scale_of(k) * s.observed(i).term, level) : 0.0;
    e.ms = ratio_or_nan(e.ss, e.df);
    e.f = ratio_or_nan(e.ms, den.ms);
    e.partial_r2 = e.df > 0 ? ratio_or_nan(e.ss, e.ss + den.ss) : StrataRow::kNaN;
    if (!between_specimens(k)) {
      ss_sys += e.ss;
      df_sys += e.df;
    }
  }
  const double ms_s = t.specimens.ms, ms_r = t.residual.ms;
  const double ms_sys = ratio_or_nan(ss_sys, df_sys);
  const double n = static_cast<double>(t.specimens_tested);
  t.repeatability = ratio_or_nan(ms_s - ms_r, ms_s + ms_r);
  t.agreement = ratio_or_nan(ms_s - ms_r, ms_s + ms_r + 2 * (ms_sys - ms_r) / n);
  return t;
}

}  // namespace lumivar::models
