#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "geometry/allpairwiseprocrustes.h"
#include "input/mergegroups.h"
#include "partition/analysis_inputs.h"
#include "partition/crossed_codes.h"
#include "partition/partition.h"
#include "partition/sums_from_coordinates.h"
#include "partition/varexp.h"
#include "partition/varexp_report.h"
#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"
#include "runtime/layout.h"
#include "support/error_message.h"

namespace lumivar::partition {
namespace {

using runtime::Matrix;

// A balanced design: mg specimens measured twice, 2 x 2 groups, k landmarks,
// with a G1 effect, a T effect and noise, each row placed at random.
struct Design {
  Matrix data, group, repgroup;
  DesignSizes sizes;
};

Design make_design(std::size_t per_cell, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0, 0.05);
  std::uniform_real_distribution<double> u(-3, 3);
  const std::size_t k = 5, mg = 4 * per_cell, m = 2 * mg;
  Design d;
  d.data = Matrix(m, 2 * k + 1);
  d.group = Matrix(mg, 2);
  d.repgroup = Matrix(m, 1);
  for (std::size_t s = 1; s <= mg; ++s) {
    d.group(s, 1) = static_cast<double>(1 + (s - 1) % 2);
    d.group(s, 2) = static_cast<double>(1 + ((s - 1) / 2) % 2);
  }
  for (std::size_t r = 1; r <= m; ++r) {
    const std::size_t s = (r - 1) % mg + 1;
    const double t = r > mg ? 1 : 0;
    d.repgroup(r) = t + 1;
    const double angle = u(rng), scale = 1 + std::abs(u(rng)), dx = u(rng), dy = u(rng);
    for (std::size_t j = 1; j <= k; ++j) {
      double x = std::cos(2 * M_PI * static_cast<double>(j) / static_cast<double>(k)) + noise(rng) + 0.4 * t * (j == 1);
      double y = std::sin(2 * M_PI * static_cast<double>(j) / static_cast<double>(k)) + noise(rng) + 0.05 * (d.group(s, 1) == 2) * (j == 2);
      d.data(r, 2 * j - 1) = scale * (std::cos(angle) * x - std::sin(angle) * y) + dx;
      d.data(r, 2 * j) = scale * (std::sin(angle) * x + std::cos(angle) * y) + dy;
    }
    d.data(r, 2 * k + 1) = static_cast<double>(r);
  }
  d.sizes = {static_cast<double>(m), 2, 2, 2};
  return d;
}

// Sum over groups of the squared deviations of the superimposed coordinates
// from their group mean: the within sum computed without any distance.
double within_from_means(const Matrix& xpt, const Matrix& codes) {
  const std::size_t m = xpt.rows(), p = xpt.cols() - 1;
  double total = 0;
  std::vector<bool> done(m + 1, false);
  for (std::size_t i = 1; i <= m; ++i) {
    if (done[i]) continue;
    std::vector<std::size_t> members;
    for (std::size_t j = i; j <= m; ++j)
      if (codes(j) == codes(i)) {
        members.push_back(j);
        done[j] = true;
      }
    for (std::size_t c = 1; c <= p; ++c) {
      double mean = 0;
      for (std::size_t r : members) mean += xpt(r, c);
      mean /= static_cast<double>(members.size());
      for (std::size_t r : members) total += (xpt(r, c) - mean) * (xpt(r, c) - mean);
    }
  }
  return total;
}

TEST(Partition, AgreesWithSumsOfSquaresFromGroupMeans) {
  const Design d = make_design(3, 7);
  const geometry::ProcrustesDistances pd = geometry::procrustes_distances(d.data);
  const Partition p = compute_partition(pd.d, d.group, d.repgroup, d.sizes);
  const Codings c = make_codings(d.group, d.repgroup, d.data.rows());
  const Matrix one(d.data.rows(), 1, 1.0);
  const double total = within_from_means(pd.xpt, one);
  // Tolerance: sums of ~100 terms of order 1e-2; 1e3 machine epsilons relative.
  const double tol = 1e3 * std::numeric_limits<double>::epsilon() * total;
  EXPECT_NEAR(p.sstotal, total, tol);
  for (int k = 0; k < kEffectCount; ++k)
    EXPECT_NEAR(p.within[k], within_from_means(pd.xpt, c[k]), tol) << kEffectLabels[k];
  EXPECT_NEAR(p.ss_error, within_from_means(pd.xpt, c[kG1xG2xT]), tol);

  // The seven effects and error add up to the total; so do their percentages.
  double ss = p.ss_error, per = p.per_exp_error;
  for (const Effect& e : p.effects) {
    ss += e.ss;
    per += e.per_exp;
    EXPECT_DOUBLE_EQ(e.ms, e.ss / e.df);
    EXPECT_DOUBLE_EQ(e.f, e.ms / p.ms_error);
  }
  EXPECT_NEAR(ss, p.sstotal, tol);
  EXPECT_NEAR(per, 100, 1e3 * std::numeric_limits<double>::epsilon() * 100);
  EXPECT_EQ(p.df_error, d.sizes.m - 8);
  // The T effect built into the data is found.
  EXPECT_LT(p.effects[kT].p_analytic, 0.01);
}

TEST(Partition, SumsAtRoundingLevelAreZeroAndRatiosOverThemNaN) {
  const DesignSizes sizes{16, 2, 2, 2};
  // G1's within sum a hair above the total (its effect -2e-16, a rounding
  // residue), G2 explaining half, the cells holding nothing but noise.
  WithinSums w{};
  w.fill(2.0);
  w[kG1] = 2.0 + 4.4e-16;
  w[kG2] = 1.0;
  w[kG1xG2] = 1.0;
  w[kG2xT] = 1.0;
  w[kG1xG2xT] = 3e-17;
  const Partition p = partition_from_sums(2.0, w, sizes);
  EXPECT_EQ(p.effects[kG1].ss, 0.0);
  EXPECT_FALSE(std::signbit(p.effects[kG1].ss));
  EXPECT_FALSE(std::signbit(p.effects[kG1].per_exp));
  EXPECT_EQ(p.effects[kG2].ss, 1.0);
  EXPECT_EQ(p.ss_error, 0.0);
  for (const Effect& e : p.effects) {
    EXPECT_GE(e.ss, 0.0);
    EXPECT_TRUE(std::isnan(e.f));  // the error mean square is nil
    EXPECT_TRUE(std::isnan(e.p_analytic));
  }
  EXPECT_EQ(p.effects[kG2].per_exp, 50.0);

  // A total at rounding level: nothing varies, every sum is zero and every
  // share of the total NaN.
  w.fill(5e-31);
  const Partition none = partition_from_sums(6e-31, w, sizes);
  EXPECT_EQ(none.sstotal, 0.0);
  EXPECT_TRUE(std::isnan(none.per_exp_error));
  for (const Effect& e : none.effects) {
    EXPECT_EQ(e.ss, 0.0);
    EXPECT_TRUE(std::isnan(e.f));
    EXPECT_TRUE(std::isnan(e.per_exp));
  }
}

TEST(Partition, RelabellingCodesChangesNothing) {
  const Design d = make_design(2, 11);
  const Matrix dm = geometry::allpairwiseprocrustes(d.data);
  Matrix relabelled = d.group;
  for (std::size_t s = 1; s <= relabelled.rows(); ++s) relabelled(s, 1) = relabelled(s, 1) == 1 ? 7 : 9;
  Matrix reps = d.repgroup;
  for (std::size_t r = 1; r <= reps.numel(); ++r) reps(r) = reps(r) == 1 ? 30 : 4;
  EXPECT_EQ(varexp_report(compute_partition(dm, d.group, d.repgroup, d.sizes)),
            varexp_report(compute_partition(dm, relabelled, reps, d.sizes)));
}

TEST(CrossCodes, OrdersCellsAsTheArithmeticCrossingDoesWhereThatIsOneToOne) {
  // Non-negative whole codes: a * (max b + 1) + b is one to one, and the
  // distinct pairs must come in its order (so sums over cells keep their
  // order and reports their bits).
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> code(0, 6);
  Matrix a(200, 1), b(200, 1);
  for (std::size_t i = 1; i <= 200; ++i) {
    a(i) = code(rng);
    b(i) = code(rng) * 3;
  }
  const Matrix crossed = cross_codes(a, b), merged = input::mergegroups(a, b);
  for (std::size_t i = 1; i <= 200; ++i)
    for (std::size_t j = 1; j <= 200; ++j) {
      ASSERT_EQ(crossed(i) < crossed(j), merged(i) < merged(j)) << i << " " << j;
      ASSERT_EQ(crossed(i) == crossed(j), merged(i) == merged(j)) << i << " " << j;
    }
  // Where the arithmetic collides (1 * (0 + 1) - 1 = 0 * 1 + 0), pairs stay apart;
  // -0 is 0; NaN joins nothing.
  EXPECT_EQ(cross_codes(Matrix::column({0, 1, 1, -0.0}), Matrix::column({0, -1, -1, 0})),
            Matrix::column({1, 2, 2, 1}));
  const Matrix with_nan = cross_codes(Matrix::column({1, std::nan(""), 1}), Matrix::column({2, 2, 2}));
  EXPECT_EQ(with_nan(1), 1);
  EXPECT_TRUE(std::isnan(with_nan(2)));
  EXPECT_EQ(with_nan(3), 1);
}

TEST(VarexpReport, HasTheTableLayoutWithEachRowEndingAtItsPerExp) {
  Partition p;
  p.sstotal = 2;
  p.ss_error = 0.8;
  p.df_error = 8;
  p.ms_error = 0.1;
  p.per_exp_error = 40;
  for (int k = 0; k < kEffectCount; ++k) p.effects[k] = {0.5, 1, 0.5, 5, 0.04, 25};
  p.effects[kG1xG2xT] = {0, 0, std::nan(""), std::nan(""), std::nan(""), 0};
  const std::string row = " \t0.5000 \t1 \t0.5000 \t5.00 \t0.0400 \t25.0000";
  EXPECT_EQ(varexp_report(p),
            "For the entire data set, SS=2.000000\n\nGrouping \tSS \tdf \tMS \tF \tAnalytic P \tPer Exp"
            "\n\nG1" + row + "\nG2" + row + "\nT(rep)" + row + "\nG1xG2" + row + "\nG1xt" + row +
            "\nG2xt" + row + "\nG1xG2xt \t0.0000 \t0 \tNaN \t NaN \tNaN \t0.0000"
            "\n\nError  \t0.8000 \t8  \t0.1000 \t - \t \t40.0000"
            "\n\n DO NOT USE ANALYTIC P_VALUES!  Probably not valid due to non-normality + repeated "
            "measures correlation- for comparisons only!");
}

TEST(AnalysisInputs, NameWhatIsMissingOrTooShortAndTheDegenerateRows) {
  const Design d = make_design(1, 3);
  runtime::Session s;
  EXPECT_ERROR_MSG(check_analysis_inputs(s), "No landmark data is loaded: load the landmark file first.");
  s.data = d.data;
  EXPECT_ERROR_MSG(check_analysis_inputs(s), "No repeated-measures codes are loaded: load the repeated-measures code file first.");
  s.repgroup = d.repgroup;
  s.nrep = Matrix::scalar(2);
  EXPECT_ERROR_MSG(check_analysis_inputs(s), "No group codes are loaded: load the group code file first.");
  s.group = d.group.row_range(1, 3);
  s.n1g = s.n2g = Matrix::scalar(2);
  EXPECT_ERROR_MSG(check_analysis_inputs(s), "The group code file has 3 rows, but it needs one per specimen: 8 rows of "
                       "landmark data / 2 repeated-measures codes = 4 specimens.");
  s.group = d.group;
  EXPECT_NO_THROW(check_analysis_inputs(s));
  for (std::size_t c = 1; c <= 10; ++c) {
    s.data(3, c) = 5;
    s.data(6, c) = 1;
  }
  EXPECT_ERROR_MSG(check_analysis_inputs(s), "The landmarks of rows 3, 6 of the landmark data all coincide or are not finite "
                       "numbers (centroid size 0 or undefined), so these specimens have no shape. "
                       "Correct the landmark file and load it again.");
}

TEST(Varexp, WritesTheReportAndTheDistancesAndLeavesResBoxOnRefusal) {
  runtime::headless::HeadlessRuntime ui;
  runtime::build_layout(ui, R"({"Figure": {}, "Controls": [{"Tag": "ResBox", "String": "old"}]})", "t");
  const Design d = make_design(2, 5);
  runtime::Session s;
  s.data = d.data;
  EXPECT_THROW(varexp(ui, s), runtime::Error);
  EXPECT_EQ(ui.get(ui.find_by_tag("ResBox").front(), "String").text(), "old");
  EXPECT_TRUE(s.dmatrix.empty());
  s.group = d.group;
  s.repgroup = d.repgroup;
  s.n1g = s.n2g = s.nrep = Matrix::scalar(2);
  const Partition p = varexp(ui, s).partition;
  EXPECT_EQ(s.dmatrix.rows(), d.data.rows());
  const std::string first = ui.get(ui.find_by_tag("ResBox").front(), "String").text();
  EXPECT_EQ(first, varexp_report(p));
  varexp(ui, s);
  EXPECT_EQ(ui.get(ui.find_by_tag("ResBox").front(), "String").text(), first);
}

// The whole partition by both ways: every number to 1e-12 relative (the
// effect sums are differences of the within sums, so they get a bound on the
// scale of the total), and so the same text.
TEST(Partition, FromCoordinatesAgreesWithTheMatrixOnBalancedAndUnbalancedDesigns) {
  for (std::uint32_t seed : {3u, 8u}) {
    Design d = make_design(2 + seed % 3, seed);
    if (seed == 8) d.group(3, 2) = 5;  // one specimen moved to a third G2 group
    const geometry::ProcrustesDistances pd = geometry::procrustes_distances(d.data);
    const Partition a = compute_partition(pd.d, d.group, d.repgroup, d.sizes);
    const Partition b = partition_from_coordinates(pd.xpt, d.group, d.repgroup, d.sizes);
    const double scale = 1e-12 * a.sstotal;
    EXPECT_NEAR(a.sstotal, b.sstotal, scale);
    for (int k = 0; k < kEffectCount; ++k) EXPECT_NEAR(a.within[k], b.within[k], scale);
    for (int k = 0; k < kEffectCount; ++k) {
      EXPECT_NEAR(a.effects[k].ss, b.effects[k].ss, scale) << kEffectLabels[k];
      EXPECT_NEAR(a.effects[k].f, b.effects[k].f, 1e-9 * std::abs(a.effects[k].f)) << kEffectLabels[k];
    }
    EXPECT_EQ(varexp_report(a), varexp_report(b));
  }
}

TEST(Varexp, FromCoordinatesWritesTheSameReportAndKeepsNoMatrix) {
  runtime::headless::HeadlessRuntime ui;
  runtime::build_layout(ui, R"({"Figure": {}, "Controls": [{"Tag": "ResBox", "String": ""}]})", "t");
  const Design d = make_design(3, 9);
  runtime::Session s;
  s.data = d.data;
  s.group = d.group;
  s.repgroup = d.repgroup;
  s.n1g = s.n2g = s.nrep = Matrix::scalar(2);
  SumsSettings by_matrix;
  by_matrix.sums = SumsMethod::kMatrix;
  const VarExpOutcome a = varexp(ui, s, by_matrix);
  EXPECT_EQ(a.sums, SumsMethod::kMatrix);
  EXPECT_EQ(s.dmatrix.rows(), d.data.rows());
  const std::string text = ui.get(ui.find_by_tag("ResBox").front(), "String").text();

  SumsSettings by_coordinates;
  by_coordinates.sums = SumsMethod::kCoordinates;
  int passes = 0;
  by_coordinates.superimposition_progress = [&](int iteration, double) { passes = iteration; };
  const VarExpOutcome b = varexp(ui, s, by_coordinates);
  EXPECT_EQ(b.sums, SumsMethod::kCoordinates);
  // The earlier matrix is released rather than left behind, stale.
  EXPECT_TRUE(s.dmatrix.empty());
  EXPECT_EQ(ui.get(ui.find_by_tag("ResBox").front(), "String").text(), text);
  EXPECT_GE(passes, 1);
  // The same superimposition either way.
  EXPECT_EQ(a.xpt.values(), b.xpt.values());
  // A small study under "auto" keeps the matrix path.
  EXPECT_EQ(varexp(ui, s).sums, SumsMethod::kMatrix);
}

}  // namespace
}  // namespace lumivar::partition
