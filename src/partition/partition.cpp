#include "partition/partition.h"

#include "distributions/fcdf.h"
#include "partition/crossed_codes.h"
#include "partition/getsstotal.h"
#include "partition/rounding_zero.h"
#include "partition/within_sums.h"
#include "runtime/error.h"

namespace lumivar::partition {

const PerEffect<const char*> kEffectLabels = {"G1",   "G2",   "T(rep)", "G1xG2",
                                                             "G1xt", "G2xt", "G1xG2xt"};

namespace {

// The first m codes of `codes`.
Matrix first_rows(const Matrix& codes, std::size_t m) {
  Matrix out(m, 1);
  for (std::size_t i = 1; i <= m; ++i) out(i) = codes(i);
  return out;
}

}  // namespace

Codings crossed_codings(Matrix g1, Matrix g2, Matrix t) {
  Codings c;
  c[kG1xG2] = cross_codes(g1, g2);
  c[kG1xT] = cross_codes(g1, t);
  c[kG2xT] = cross_codes(g2, t);
  c[kG1xG2xT] = cross_codes(g1, c[kG2xT]);
  c[kG1] = std::move(g1);
  c[kG2] = std::move(g2);
  c[kT] = std::move(t);
  return c;
}

Codings make_codings(const Matrix& group, const Matrix& repgroup, std::size_t m) {
  if (group.cols() < 2)
    runtime::raise("The group codes need two columns (G1 and G2); the file loaded has " +
                   std::to_string(group.cols()) + ".");
  if (2 * group.rows() < m)
    runtime::raise("The group file has " + std::to_string(group.rows()) +
                   " rows, which cover at most " + std::to_string(2 * group.rows()) +
                   " rows of landmark data (two measurements per specimen), but the landmark "
                   "data has " + std::to_string(m) + " rows.");
  if (repgroup.numel() < m)
    runtime::raise("The repeated-measures code file has " + std::to_string(repgroup.numel()) +
                   " codes, but the landmark data has " + std::to_string(m) + " rows.");
  const Matrix g1 = group.column_of(1);
  const Matrix g2 = group.column_of(2);
  return crossed_codings(first_rows(g1.stacked(g1), m), first_rows(g2.stacked(g2), m),
                         first_rows(repgroup, m));
}

Divisors make_divisors(const DesignSizes& s) {
  const double nw = s.m / (s.n1g * s.n2g * s.nrep);
  return {s.n2g * s.nrep * nw, s.n1g * s.nrep * nw, s.n2g * s.n1g * nw, s.nrep * nw,
          s.n2g * nw,          s.n1g * nw,          nw};
}

EffectSums effect_sums(double sstotal, const WithinSums& w) {
  EffectSums e;
  e[kG1] = sstotal - w[kG1];
  e[kG2] = sstotal - w[kG2];
  e[kT] = sstotal - w[kT];
  e[kG1xG2] = sstotal - e[kG1] - e[kG2] - w[kG1xG2];
  e[kG1xT] = sstotal - e[kG1] - e[kT] - w[kG1xT];
  e[kG2xT] = sstotal - e[kG2] - e[kT] - w[kG2xT];
  e[kG1xG2xT] = sstotal - e[kG1] - e[kG2] - e[kT] - e[kG1xG2] - e[kG1xT] - e[kG2xT] - w[kG1xG2xT];
  return e;
}

CleanSums clean_sums(double rows, double sstotal, const WithinSums& w) {
  const double level = rounding_level(rows, sstotal);
  CleanSums c;
  c.sstotal = clean_sum(sstotal, level);
  // The effect sums are taken from the raw total, as the tables always took
  // them, so that sums above the level keep every bit.
  const EffectSums raw = effect_sums(sstotal, w);
  const bool varies = c.sstotal != 0;
  for (int k = 0; k < kEffectCount; ++k) c.ss[k] = varies ? clean_sum(raw[k], level) : 0.0;
  c.error = varies ? clean_sum(w[kG1xG2xT], level) : 0.0;
  return c;
}

PerEffect<double> effect_dfs(const DesignSizes& s) {
  const double df1 = s.n1g - 1, df2 = s.n2g - 1, dft = s.nrep - 1;
  return {df1, df2, dft, df1 * df2, df1 * dft, df2 * dft, df1 * df2 * dft};
}

Partition compute_partition(const Matrix& dmatrix, const Matrix& group, const Matrix& repgroup,
                            const DesignSizes& sizes, const std::atomic<bool>* cancel) {
  const double sstotal = getsstotal(dmatrix, sizes.m, cancel, Reading::kSymmetric);
  const Codings c = make_codings(group, repgroup, static_cast<std::size_t>(sizes.m));
  const Divisors d = make_divisors(sizes);
  return partition_from_sums(sstotal, within_sums_of_distances(dmatrix, c, d, cancel), sizes);
}

double error_df(const DesignSizes& sizes) { return sizes.m - sizes.n1g * sizes.n2g * sizes.nrep; }

PerEffect<double> f_ratios(const EffectSums& ss, double ss_error, const DesignSizes& sizes) {
  const PerEffect<double> df = effect_dfs(sizes);
  const double ms_error = ss_error / error_df(sizes);
  PerEffect<double> f{};
  for (int k = 0; k < kEffectCount; ++k) f[k] = ratio_or_nan(ss[k] / df[k], ms_error);
  return f;
}

Partition partition_from_sums(double sstotal, const WithinSums& w, const DesignSizes& sizes) {
  const CleanSums sums = clean_sums(sizes.m, sstotal, w);
  Partition p;
  p.m = sizes.m;
  p.sstotal = sums.sstotal;
  p.within = w;

  p.ss_error = sums.error;
  p.df_error = error_df(sizes);
  p.ms_error = p.ss_error / p.df_error;
  p.per_exp_error = ratio_or_nan(100 * p.ss_error, p.sstotal);

  const auto df = effect_dfs(sizes);
  const auto f = f_ratios(sums.ss, p.ss_error, sizes);
  for (int k = 0; k < kEffectCount; ++k) {
    Effect& e = p.effects[k];
    e.ss = sums.ss[k];
    e.df = df[k];
    e.ms = e.ss / e.df;
    e.f = f[k];
    e.p_analytic = distributions::fcdf_upper(e.f, e.df, p.df_error);
    e.per_exp = ratio_or_nan(100 * e.ss, p.sstotal);
  }
  return p;
}

}  // namespace lumivar::partition
