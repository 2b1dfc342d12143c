#pragma once
// The factorial partition of the total sum of squared Procrustes distances
// into G1, G2, T, their interactions and error, with degrees of freedom, mean
// squares, F ratios, analytic P values and the percentage each explains.
// Computation only: no window, no session. The report text is made from the
// result by varexp_report.
#include <array>
#include <string>

#include "runtime/matrix.h"

namespace lumivar::partition {

using runtime::Matrix;

// The seven effects in report order.
enum EffectIndex { kG1 = 0, kG2, kT, kG1xG2, kG1xT, kG2xT, kG1xG2xT, kEffectCount };
extern const std::array<const char*, kEffectCount> kEffectLabels;  // "G1", ..., "G1xG2xt"

// Per-row codings of one labelling of the rows: each vector has m entries.
struct Codings {
  Matrix g1, g2, t;                       // G1, G2 and T codes per row
  Matrix g12, g1t, g2t, all;              // crossed codings (cross_codes)
};

// Within-group (within-cell) sums of the seven codings.
struct WithinSums {
  double g1 = 0, g2 = 0, t = 0, g12 = 0, g1t = 0, g2t = 0, all = 0;
};

// Rows per group of each coding, the divisors of the within sums.
struct Divisors {
  double g1 = 0, g2 = 0, t = 0, g12 = 0, g1t = 0, g2t = 0, all = 0;
};

struct EffectSums {
  double ssg1 = 0, ssg2 = 0, sst = 0, ssg12 = 0, ssg1t = 0, ssg2t = 0, ss_all = 0;
  std::array<double, kEffectCount> as_array() const {
    return {ssg1, ssg2, sst, ssg12, ssg1t, ssg2t, ss_all};
  }
};

struct Effect {
  // p_analytic: the upper tail of the F distribution at f, unrounded (NaN
  // when f is NaN or infinite).
  double ss = 0, df = 0, ms = 0, f = 0, p_analytic = 0, per_exp = 0;
};

struct Partition {
  double m = 0;
  double nwithingroup = 0;
  double sstotal = 0;
  WithinSums within;
  EffectSums sums;
  double ss_error = 0, df_error = 0, ms_error = 0, per_exp_error = 0;
  std::array<Effect, kEffectCount> effects;
};

// Design sizes of a run: numbers of distinct G1, G2 and T codes and rows.
struct DesignSizes {
  double m = 0, n1g = 0, n2g = 0, nrep = 0;
};

// The group columns stacked twice and the repeated-measures codes, cut to
// the first m rows, with the crossed codings. Raises when there are fewer
// codes than rows.
Codings make_codings(const Matrix& group, const Matrix& repgroup, std::size_t m);
Divisors make_divisors(const DesignSizes& sizes);
// Effect sums from the total and the within sums, subtracting left to right.
EffectSums effect_sums(double sstotal, const WithinSums& w);
// Degrees of freedom of the seven effects, in report order.
std::array<double, kEffectCount> effect_dfs(const DesignSizes& sizes);
// Degrees of freedom of the error term: m - n1g n2g nrep.
double error_df(const DesignSizes& sizes);
// The F ratio of each effect, (SS / df) / (error SS / error df). The analytic
// partition and every relabelling of a permutation test make F here, by the
// same operations, so equal sums give bit-identical F ratios.
std::array<double, kEffectCount> f_ratios(const EffectSums& sums, double ss_error,
                                          const DesignSizes& sizes);
// The whole partition from a distance matrix (within sums by getssgroup).
Partition compute_partition(const Matrix& dmatrix, const Matrix& group, const Matrix& repgroup,
                            const DesignSizes& sizes);
// The rest of the partition from the total and the within sums, however
// they were obtained: effect sums, degrees of freedom, F, P and Per Exp.
Partition partition_from_sums(double sstotal, const WithinSums& w, const DesignSizes& sizes);

}  // namespace lumivar::partition
