// The table of the tests by strata against sums computed from group means
// and, on balanced studies, against the closed forms from the factorial
// partition; its invariances.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>
#include <fstream>
#include <sstream>

#include "geometry/allpairwiseprocrustes.h"
#include "partition/partition.h"
#include "models/strata_design.h"
#include "models/strata_table.h"
#include "partition/rounding_zero.h"
#include "permutation/design_fixtures.h"
#include "runtime/error.h"
#include "support/number_file.h"

namespace lumivar::models {
namespace {

using partition::compute_partition;
using partition::kEffectCount;
using partition::kEffectLabels;
using partition::Partition;
using runtime::Matrix;
using testing::read_numbers;
using testing::StudyDesign;
using testing::study;
constexpr double kEps = std::numeric_limits<double>::epsilon();

struct Analysed {
  Partition partition;
  StrataTable table;
  Matrix xpt;
};

// The table of superimposed rows `xpt` with the codes of `d`.
Analysed analyse_superimposed(const Matrix& xpt, const StudyDesign& d) {
  Analysed a;
  a.xpt = xpt;
  a.partition = compute_partition(geometry::squared_distances(xpt), d.session.group,
                                  d.session.repgroup, d.sizes);
  a.table = strata_table(StrataFit(
      xpt, strata_design(d.session.group, d.session.repgroup, xpt.rows()), SsType::kIII));
  return a;
}

Analysed analyse(const StudyDesign& d) {
  return analyse_superimposed(geometry::procrustes_distances(d.session.data, 1).xpt, d);
}

// Sums of squares of the superimposed rows from means alone: each row is
// replaced by the mean of the rows sharing its key, and the textbook
// contrasts of those means are summed over the rows.
struct FromMeans {
  FromMeans(const Matrix& xpt, const Matrix& group, const Matrix& repgroup)
      : x(xpt), m(xpt.rows()), mg(group.rows()), p(xpt.cols() - 1) {
    g1 = [&group, this](std::size_t r) { return group(r % mg + 1, 1); };
    g2 = [&group, this](std::size_t r) { return group(r % mg + 1, 2); };
    t = [&repgroup](std::size_t r) { return repgroup(r + 1); };
  }
  using Key = std::function<std::vector<double>(std::size_t row)>;

  // Per row, the mean of the rows with its key (m x p).
  std::vector<std::vector<double>> means(const Key& key) const {
    std::map<std::vector<double>, std::pair<std::vector<double>, double>> sums;
    for (std::size_t r = 0; r < m; ++r) {
      auto& [sum, n] = sums[key(r)];
      sum.resize(p, 0.0);
      for (std::size_t c = 0; c < p; ++c) sum[c] += x(r + 1, c + 1);
      n += 1;
    }
    std::vector<std::vector<double>> out(m, std::vector<double>(p));
    for (std::size_t r = 0; r < m; ++r) {
      const auto& [sum, n] = sums.at(key(r));
      for (std::size_t c = 0; c < p; ++c) out[r][c] = sum[c] / n;
    }
    return out;
  }

  // Sum over rows and coordinates of (sum_i sign_i * terms_i)^2.
  static double ss(const std::vector<std::pair<double, const std::vector<std::vector<double>>*>>& terms) {
    double s = 0;
    const std::size_t rows = terms.front().second->size(), cols = terms.front().second->front().size();
    for (std::size_t r = 0; r < rows; ++r)
      for (std::size_t c = 0; c < cols; ++c) {
        double v = 0;
        for (const auto& [sign, mean] : terms) v += sign * (*mean)[r][c];
        s += v * v;
      }
    return s;
  }

  const Matrix& x;
  std::size_t m, mg, p;
  std::function<double(std::size_t)> g1, g2, t;
};

TEST(StrataTable, MatchesSumsFromGroupMeans) {
  // 2 x 3 cells of 3 specimens; five specimens have their measurement codes
  // the other way round (the code, not the row, says which is which).
  std::vector<double> g1, g2, codes;
  for (int c = 0; c < 3; ++c)
    for (int a = 1; a <= 2; ++a)
      for (int b = 1; b <= 3; ++b) {
        g1.push_back(a);
        g2.push_back(b);
      }
  const std::size_t mg = g1.size();
  codes.assign(2 * mg, 1.0);
  for (std::size_t j = 0; j < mg; ++j) {
    const bool reversed = j % 4 == 1;
    codes[j] = reversed ? 2 : 1;
    codes[j + mg] = reversed ? 1 : 2;
  }
  const StudyDesign d = study(g1, g2, codes, 2, 3, 6, 41);
  const Analysed a = analyse(d);

  const FromMeans f(a.xpt, d.session.group, d.session.repgroup);
  const auto one = [](std::size_t) { return std::vector<double>{0}; };
  const auto row = [&](std::size_t r) { return std::vector<double>{static_cast<double>(r)}; };
  const auto specimen = [&](std::size_t r) { return std::vector<double>{static_cast<double>(r % mg)}; };
  const auto y = f.means(row), all = f.means(one), spec = f.means(specimen);
  const auto m1 = f.means([&](std::size_t r) { return std::vector<double>{f.g1(r)}; });
  const auto m2 = f.means([&](std::size_t r) { return std::vector<double>{f.g2(r)}; });
  const auto mt = f.means([&](std::size_t r) { return std::vector<double>{f.t(r)}; });
  const auto m12 = f.means([&](std::size_t r) { return std::vector<double>{f.g1(r), f.g2(r)}; });
  const auto m1t = f.means([&](std::size_t r) { return std::vector<double>{f.g1(r), f.t(r)}; });
  const auto m2t = f.means([&](std::size_t r) { return std::vector<double>{f.g2(r), f.t(r)}; });
  const auto m12t =
      f.means([&](std::size_t r) { return std::vector<double>{f.g1(r), f.g2(r), f.t(r)}; });

  const std::array<double, kEffectCount> effects = {
      FromMeans::ss({{1, &m1}, {-1, &all}}),
      FromMeans::ss({{1, &m2}, {-1, &all}}),
      FromMeans::ss({{1, &mt}, {-1, &all}}),
      FromMeans::ss({{1, &m12}, {-1, &m1}, {-1, &m2}, {1, &all}}),
      FromMeans::ss({{1, &m1t}, {-1, &m1}, {-1, &mt}, {1, &all}}),
      FromMeans::ss({{1, &m2t}, {-1, &m2}, {-1, &mt}, {1, &all}}),
      FromMeans::ss({{1, &m12t}, {-1, &m12}, {-1, &m1t}, {-1, &m2t}, {1, &m1}, {1, &m2},
                     {1, &mt}, {-1, &all}})};
  const double ss_s = FromMeans::ss({{1, &spec}, {-1, &m12}});
  const double ss_r = FromMeans::ss({{1, &y}, {-1, &spec}, {-1, &m12t}, {1, &m12}});
  const double ss_within = FromMeans::ss({{1, &y}, {-1, &spec}});

  // Pair sums and means agree to rounding of the total: 1e4 eps of it.
  const double tol = 1e4 * kEps * a.partition.sstotal;
  const StrataTable& t = a.table;
  EXPECT_NEAR(t.residual.ss + t.effects[partition::kT].ss + t.effects[partition::kG1xT].ss +
                  t.effects[partition::kG2xT].ss + t.effects[partition::kG1xG2xT].ss,
              ss_within, tol);
  EXPECT_NEAR(t.specimens.ss, ss_s, tol);
  EXPECT_NEAR(t.residual.ss, ss_r, tol);
  EXPECT_EQ(t.specimens.df, 18 - 6);
  EXPECT_EQ(t.residual.df, 18 - 6);
  for (int k = 0; k < kEffectCount; ++k) {
    SCOPED_TRACE(kEffectLabels[k]);
    EXPECT_NEAR(t.effects[k].ss, effects[k], tol);
    const double den = between_specimens(k) ? ss_s : ss_r;
    const double f_means = (effects[k] / t.effects[k].df) / (den / 12.0);
    EXPECT_NEAR(t.effects[k].f, f_means, 1e6 * kEps * f_means);
  }
  const double ms_s = ss_s / 12, ms_r = ss_r / 12;
  EXPECT_NEAR(t.repeatability, (ms_s - ms_r) / (ms_s + ms_r), 1e6 * kEps);
}

TEST(StrataTable, DenominatorsAddUpToTheErrorSum) {
  for (std::uint64_t seed : {3u, 4u, 5u}) {
    const Analysed a = analyse(testing::balanced_study(3, 2, 2 + static_cast<int>(seed % 2), 7, seed));
    const Partition& p = a.partition;
    EXPECT_NEAR(a.table.specimens.ss + a.table.residual.ss, p.ss_error, 1e3 * kEps * p.sstotal);
    EXPECT_EQ(a.table.specimens.df + a.table.residual.df, p.df_error);
    EXPECT_GT(a.table.specimens.ss, 0);
    EXPECT_GT(a.table.residual.ss, 0);
  }
}

TEST(StrataTable, RepeatabilityOfTwoDigitisings) {
  // The second measurement is the first digitised again with a small error:
  // nearly all variation among specimens is real, R close to 1. With two
  // unrelated rows per specimen, R is near 0.
  StudyDesign d = testing::balanced_study(2, 2, 4, 6, 21);
  const std::size_t mg = d.session.group.rows();
  StudyDesign unrelated = d;
  std::mt19937_64 rng(5);
  std::normal_distribution<double> error(0, 1e-3);
  for (std::size_t j = 1; j <= mg; ++j)
    for (std::size_t c = 1; c + 1 <= d.session.data.cols(); ++c)
      d.session.data(j + mg, c) = d.session.data(j, c) + error(rng);
  EXPECT_GT(analyse(d).table.repeatability, 0.99);
  EXPECT_LT(std::abs(analyse(unrelated).table.repeatability), 0.5);
}

TEST(StrataTable, SameTableWhateverTheCodesAndSpecimenOrder) {
  const std::vector<double> g1 = {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2};
  const std::vector<double> g2 = {1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3};
  std::vector<double> t(24, 1.0);
  std::fill(t.begin() + 12, t.end(), 2.0);
  const StudyDesign base = study(g1, g2, t, 2, 3, 5, 31);
  const Analysed a = analyse(base);

  // Codes renamed (G1 order reversed, G2 to fractions and negatives, the
  // measurement codes reversed) and the specimens listed in another order.
  // The superimposed rows are moved as they are: the superimposition itself
  // converges only to about 1e-9 whatever the order of its rows.
  const std::vector<std::size_t> order = {7, 2, 11, 0, 5, 9, 1, 4, 10, 3, 8, 6};
  StudyDesign moved = base;
  const std::map<double, double> new_g1 = {{1, 9}, {2, 7}}, new_g2 = {{1, 0.5}, {2, -5}, {3, 30}};
  for (std::size_t j = 0; j < 12; ++j) {
    const std::size_t from = order[j];
    moved.session.group(j + 1, 1) = new_g1.at(g1[from]);
    moved.session.group(j + 1, 2) = new_g2.at(g2[from]);
    moved.session.repgroup(j + 1) = 8;
    moved.session.repgroup(j + 13) = 3;
  }
  Matrix xpt = a.xpt;
  for (std::size_t j = 0; j < 12; ++j)
    for (std::size_t c = 1; c <= xpt.cols(); ++c) {
      xpt(j + 1, c) = a.xpt(order[j] + 1, c);
      xpt(j + 13, c) = a.xpt(order[j] + 13, c);
    }
  const Analysed b = analyse_superimposed(xpt, moved);
  const double tol = 1e5 * kEps * a.partition.sstotal;
  for (int k = 0; k < kEffectCount; ++k) {
    SCOPED_TRACE(kEffectLabels[k]);
    EXPECT_NEAR(a.table.effects[k].ss, b.table.effects[k].ss, tol);
    EXPECT_NEAR(a.table.effects[k].f, b.table.effects[k].f, 1e-9 * a.table.effects[k].f);
  }
  EXPECT_NEAR(a.table.specimens.ss, b.table.specimens.ss, tol);
  EXPECT_NEAR(a.table.residual.ss, b.table.residual.ss, tol);
  EXPECT_NEAR(a.table.repeatability, b.table.repeatability, 1e-9);
}



struct NamedStudy {
  std::string name;
  Matrix data, repgroup, group;
};

// The example study, and the rat skull study with each two consecutive ages
// taken as the two measurements (G1: rats 1-9 and 10-18, G2: rat mod 3).
std::vector<NamedStudy> real_studies() {
  const std::string ex = LUMIVAR_EXAMPLES;
  std::vector<NamedStudy> out = {{"example", read_numbers(ex + "/landmarks.txt"),
                                  read_numbers(ex + "/reps.txt"), read_numbers(ex + "/groups.txt")}};
  std::ifstream in(std::string(LUMIVAR_TEST_DATA) + "/rat_skulls.csv");
  std::string line;
  std::getline(in, line);
  std::map<int, std::map<int, std::vector<double>>> ages;  // age -> rat -> landmarks
  while (std::getline(in, line)) {
    std::istringstream f(line);
    std::vector<double> v;
    for (std::string cell; std::getline(f, cell, ',');) v.push_back(std::stod(cell));
    ages[static_cast<int>(v[1])][static_cast<int>(v[0])] =
        std::vector<double>(v.begin() + 2, v.end());
  }
  for (auto a = ages.begin(); std::next(a) != ages.end(); ++a) {
    NamedStudy s{"rats " + std::to_string(a->first), Matrix(36, 17), Matrix(36, 1), Matrix(18, 2)};
    std::size_t r = 1;
    for (const auto* age : {&*a, &*std::next(a)})
      for (const auto& [rat, landmarks] : age->second) {
        for (std::size_t c = 0; c < landmarks.size(); ++c) s.data(r, c + 1) = landmarks[c];
        s.data(r, 17) = rat;
        s.repgroup(r) = age->first;
        ++r;
      }
    for (std::size_t rat = 1; rat <= 18; ++rat) {
      s.group(rat, 1) = rat <= 9 ? 1 : 2;
      s.group(rat, 2) = static_cast<double>(rat % 3 + 1);
    }
    out.push_back(s);
  }
  return out;
}

// Balanced studies: the engine's table is the former closed form, where
// every effect sum is the factorial partition's (from the distance matrix),
// the specimens-within-cells sum is the between-specimen total minus the
// between effects and the residual the within total minus the within
// effects; to 1e-10 relative, sums at the rounding level counting as zero.
TEST(StrataTable, BalancedStudiesGiveTheClosedFormsOfThePartition) {
  const std::vector<NamedStudy> studies = real_studies();
  ASSERT_EQ(studies.size(), 8u);
  for (const NamedStudy& s : studies) {
    SCOPED_TRACE(s.name);
    const geometry::ProcrustesDistances fit = geometry::procrustes_distances(s.data, 1);
    const std::size_t m = s.data.rows(), mg = s.group.rows();
    const partition::DesignSizes sizes{static_cast<double>(m), 2, s.name == "example" ? 2.0 : 3.0, 2};
    const Partition p = compute_partition(fit.d, s.group, s.repgroup, sizes);
    const StrataDesign design = strata_design(s.group, s.repgroup, m);
    ASSERT_TRUE(design.balanced());
    const StrataTable t = strata_table(StrataFit(fit.xpt, design, SsType::kIII));
    const StrataTable t2 = strata_table(StrataFit(fit.xpt, design, SsType::kII));

    double within = 0;
    for (std::size_t j = 1; j <= mg; ++j)
      for (std::size_t c = 1; c < fit.xpt.cols(); ++c) {
        const double d = fit.xpt(j, c) - fit.xpt(j + mg, c);
        within += d * d / 2;
      }
    const auto& e = p.effects;
    using namespace partition;
    const double ss_s = p.sstotal - within - e[kG1].ss - e[kG2].ss - e[kG1xG2].ss;
    const double ss_r = within - e[kT].ss - e[kG1xT].ss - e[kG2xT].ss - e[kG1xG2xT].ss;
    const double df_den = static_cast<double>(mg) - 2 * sizes.n2g;
    const double zero = rounding_level(static_cast<double>(m), p.sstotal);
    const auto close = [&](double got, double want) {
      EXPECT_NEAR(got, want, 1e-10 * std::abs(want) + zero);
    };
    close(t.specimens.ss, ss_s);
    close(t.residual.ss, ss_r);
    EXPECT_EQ(t.specimens.df, df_den);
    for (int k = 0; k < kEffectCount; ++k) {
      SCOPED_TRACE(kEffectLabels[k]);
      close(t.effects[k].ss, e[k].ss);
      close(t2.effects[k].ss, e[k].ss);
      EXPECT_EQ(t.effects[k].df, e[k].df);
      const double den = between_specimens(k) ? ss_s : ss_r;
      const double f = (e[k].ss / e[k].df) / (den / df_den);
      EXPECT_NEAR(t.effects[k].f, f, 1e-10 * f);
    }
    const double ms_s = ss_s / df_den, ms_r = ss_r / df_den;
    EXPECT_NEAR(t.repeatability, (ms_s - ms_r) / (ms_s + ms_r), 1e-10);
  }
}

}  // namespace
}  // namespace lumivar::models
