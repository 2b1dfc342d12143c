#pragma once
// The factorial partition of the total sum of squared Procrustes distances
// into G1, G2, T, their interactions and error, with degrees of freedom, mean
// squares, F ratios, analytic P values and the percentage each explains.
// Computation only: no window, no session. The report text is made from the
// result by varexp_report.
#include <array>
#include <atomic>
#include <string>

#include "runtime/matrix.h"

namespace lumivar::partition {

using runtime::Matrix;

// The seven effects in report order. Each effect has its coding of the rows:
// G1, G2, T and their crossings, the last (G1 x G2 x T, the cells) giving
// the error term.
enum EffectIndex { kG1 = 0, kG2, kT, kG1xG2, kG1xT, kG2xT, kG1xG2xT, kEffectCount };

// One value per effect (or per effect's coding), indexed by EffectIndex.
template <typename T>
using PerEffect = std::array<T, kEffectCount>;

extern const PerEffect<const char*> kEffectLabels;  // "G1", ..., "G1xG2xt"

// Per-row codings of one labelling of the rows: m codes per effect, the
// first three as given and the rest crossed from them (cross_codes).
using Codings = PerEffect<Matrix>;
// Within-group (within-cell) sums of the seven codings.
using WithinSums = PerEffect<double>;
// Rows per group of each coding, the divisors of the within sums.
using Divisors = PerEffect<double>;
// The sum of squares each effect explains.
using EffectSums = PerEffect<double>;

struct Effect {
  // p_analytic: the upper tail of the F distribution at f, unrounded (NaN
  // when f is NaN or infinite).
  double ss = 0, df = 0, ms = 0, f = 0, p_analytic = 0, per_exp = 0;
};

struct Partition {
  double m = 0;
  double sstotal = 0;
  WithinSums within;
  double ss_error = 0, df_error = 0, ms_error = 0, per_exp_error = 0;
  PerEffect<Effect> effects;
};

// Design sizes of a run: numbers of distinct G1, G2 and T codes and rows.
struct DesignSizes {
  double m = 0, n1g = 0, n2g = 0, nrep = 0;
};

// The seven codings from the G1, G2 and T codes of the same rows (or cells).
Codings crossed_codings(Matrix g1, Matrix g2, Matrix t);
// The group columns stacked twice and the repeated-measures codes, cut to
// the first m rows, with the crossed codings. Raises when there are fewer
// codes than rows.
Codings make_codings(const Matrix& group, const Matrix& repgroup, std::size_t m);
Divisors make_divisors(const DesignSizes& sizes);
// Effect sums from the total and the within sums, subtracting left to right.
EffectSums effect_sums(double sstotal, const WithinSums& w);

// The sums of squares of one labelling of `rows` rows as the tables show
// them and the tests compare them: the total, the seven effect sums
// (effect_sums) and the error sum (the within sum of the cells), each put
// through the rule of rounding_zero.h, so none is negative and those at
// rounding level are exactly zero. When the total itself is at rounding level
// (the shapes do not vary) every sum is zero.
struct CleanSums {
  double sstotal = 0;
  EffectSums ss{};
  double error = 0;
};
CleanSums clean_sums(double rows, double sstotal, const WithinSums& w);
// Degrees of freedom of the seven effects, in report order.
PerEffect<double> effect_dfs(const DesignSizes& sizes);
// Degrees of freedom of the error term: m - n1g n2g nrep.
double error_df(const DesignSizes& sizes);
// The F ratio of each effect, (SS / df) / (error SS / error df); NaN when the
// error mean square is zero or undefined. The analytic partition and every
// relabelling of a permutation test make F here, by the same operations, so
// equal sums give bit-identical F ratios.
PerEffect<double> f_ratios(const EffectSums& sums, double ss_error, const DesignSizes& sizes);
// The whole partition from a symmetric distance matrix, as squared_distances
// builds it (within sums by getssgroup, read down the columns).
// A raised `cancel` is heard within every sum (each O(m^2)) and raises
// runtime::Cancelled.
Partition compute_partition(const Matrix& dmatrix, const Matrix& group, const Matrix& repgroup,
                            const DesignSizes& sizes, const std::atomic<bool>* cancel = nullptr);
// The rest of the partition from the total and the within sums, however
// they were obtained: effect sums (clean_sums), degrees of freedom, F, P and
// Per Exp (NaN when the total is zero).
Partition partition_from_sums(double sstotal, const WithinSums& w, const DesignSizes& sizes);

}  // namespace lumivar::partition
