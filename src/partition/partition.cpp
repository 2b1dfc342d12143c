#include "partition/partition.h"

#include "distributions/fcdf.h"
#include "partition/crossed_codes.h"
#include "partition/getssgroup.h"
#include "partition/getsstotal.h"
#include "runtime/error.h"

namespace lumivar::partition {

const std::array<const char*, kEffectCount> kEffectLabels = {"G1",   "G2",   "T(rep)", "G1xG2",
                                                             "G1xt", "G2xt", "G1xG2xt"};

namespace detail {

// The first m codes of `codes`.
Matrix first_rows(const Matrix& codes, std::size_t m) {
  Matrix out(m, 1);
  for (std::size_t i = 1; i <= m; ++i) out(i) = codes(i);
  return out;
}

}  // namespace detail

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
  Codings c;
  const Matrix g1 = group.column_of(1);
  const Matrix g2 = group.column_of(2);
  c.g1 = detail::first_rows(g1.stacked(g1), m);
  c.g2 = detail::first_rows(g2.stacked(g2), m);
  c.t = detail::first_rows(repgroup, m);
  c.g12 = cross_codes(c.g1, c.g2);
  c.g1t = cross_codes(c.g1, c.t);
  c.g2t = cross_codes(c.g2, c.t);
  c.all = cross_codes(c.g1, c.g2t);
  return c;
}

Divisors make_divisors(const DesignSizes& s) {
  const double nw = s.m / (s.n1g * s.n2g * s.nrep);
  Divisors d;
  d.g1 = s.n2g * s.nrep * nw;
  d.g2 = s.n1g * s.nrep * nw;
  d.t = s.n2g * s.n1g * nw;
  d.g12 = s.nrep * nw;
  d.g1t = s.n2g * nw;
  d.g2t = s.n1g * nw;
  d.all = nw;
  return d;
}

EffectSums effect_sums(double sstotal, const WithinSums& w) {
  EffectSums e;
  e.ssg1 = sstotal - w.g1;
  e.ssg2 = sstotal - w.g2;
  e.sst = sstotal - w.t;
  e.ssg12 = sstotal - e.ssg1 - e.ssg2 - w.g12;
  e.ssg1t = sstotal - e.ssg1 - e.sst - w.g1t;
  e.ssg2t = sstotal - e.ssg2 - e.sst - w.g2t;
  e.ss_all = sstotal - e.ssg1 - e.ssg2 - e.sst - e.ssg12 - e.ssg1t - e.ssg2t - w.all;
  return e;
}

std::array<double, kEffectCount> effect_dfs(const DesignSizes& s) {
  const double df1 = s.n1g - 1, df2 = s.n2g - 1, dft = s.nrep - 1;
  return {df1, df2, dft, df1 * df2, df1 * dft, df2 * dft, df1 * df2 * dft};
}

Partition compute_partition(const Matrix& dmatrix, const Matrix& group, const Matrix& repgroup,
                            const DesignSizes& sizes) {
  const double sstotal = getsstotal(dmatrix, sizes.m);
  const Codings c = make_codings(group, repgroup, static_cast<std::size_t>(sizes.m));
  const Divisors d = make_divisors(sizes);
  WithinSums w;
  w.g1 = getssgroup(dmatrix, c.g1, d.g1);
  w.g2 = getssgroup(dmatrix, c.g2, d.g2);
  w.t = getssgroup(dmatrix, c.t, d.t);
  w.g12 = getssgroup(dmatrix, c.g12, d.g12);
  w.g1t = getssgroup(dmatrix, c.g1t, d.g1t);
  w.g2t = getssgroup(dmatrix, c.g2t, d.g2t);
  w.all = getssgroup(dmatrix, c.all, d.all);
  return partition_from_sums(sstotal, w, sizes);
}

double error_df(const DesignSizes& sizes) { return sizes.m - sizes.n1g * sizes.n2g * sizes.nrep; }

std::array<double, kEffectCount> f_ratios(const EffectSums& sums, double ss_error,
                                          const DesignSizes& sizes) {
  const std::array<double, kEffectCount> ss = sums.as_array();
  const std::array<double, kEffectCount> df = effect_dfs(sizes);
  const double ms_error = ss_error / error_df(sizes);
  std::array<double, kEffectCount> f{};
  for (int k = 0; k < kEffectCount; ++k) f[k] = (ss[k] / df[k]) / ms_error;
  return f;
}

Partition partition_from_sums(double sstotal, const WithinSums& w, const DesignSizes& sizes) {
  Partition p;
  p.m = sizes.m;
  p.nwithingroup = sizes.m / (sizes.n1g * sizes.n2g * sizes.nrep);
  p.sstotal = sstotal;
  p.within = w;
  p.sums = effect_sums(p.sstotal, w);

  p.ss_error = w.all;
  p.df_error = error_df(sizes);
  p.ms_error = p.ss_error / p.df_error;
  p.per_exp_error = 100 * p.ss_error / p.sstotal;

  const auto ss = p.sums.as_array();
  const auto df = effect_dfs(sizes);
  const auto f = f_ratios(p.sums, p.ss_error, sizes);
  for (int k = 0; k < kEffectCount; ++k) {
    Effect& e = p.effects[k];
    e.ss = ss[k];
    e.df = df[k];
    e.ms = e.ss / e.df;
    e.f = f[k];
    e.p_analytic = distributions::fcdf_upper(e.f, e.df, p.df_error);
    e.per_exp = 100 * e.ss / p.sstotal;
  }
  return p;
}

}  // namespace lumivar::partition
