// The tidy table that scripts read: one row per term, stable term ids,
// numbers that read back exactly, and the same rows as text and as JSON.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "results/tidy_table.h"
#include "support/text_lines.h"

namespace lumivar::results {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A partition whose numbers have no short decimal form, one effect without
// an F (df 0) and an error sum of zero for the partial R2 of that effect.
partition::Partition awkward_partition() {
  partition::Partition p;
  p.sstotal = 1.0 / 3.0;
  for (int k = 0; k < partition::kEffectCount; ++k) {
    partition::Effect& e = p.effects[k];
    e.ss = 0.1 * (k + 1) / 3.0;
    e.df = k + 1;
    e.ms = e.ss / e.df;
    e.f = 1e-300 * (k + 1);
    e.p_analytic = 1.0 / 7.0;
    e.per_exp = 100 * e.ss / p.sstotal;
  }
  p.effects[partition::kG1xG2xT].f = kNaN;
  p.effects[partition::kG1xG2xT].p_analytic = kNaN;
  p.ss_error = 2.0 / 3.0;
  p.df_error = 24;
  p.ms_error = p.ss_error / 24;
  p.per_exp_error = 5e-324;  // the smallest double there is
  return p;
}

permutation::StrataResults strata_results(bool tested) {
  permutation::StrataResults s;
  for (int k = 0; k < partition::kEffectCount; ++k)
    s.table.effects[k] = {0.01 * (k + 1), 1.0 + k % 2, 0.01 * (k + 1) / (1.0 + k % 2), 1.5 + k};
  s.table.specimens = {0.25, 12, 0.25 / 12, kNaN};
  s.table.residual = {0.0, 12, 0.0, kNaN};
  if (tested) {
    s.test.emplace();
    for (int k = 0; k < partition::kEffectCount; ++k) {
      s.test->p[k] = (k + 1) / 1000.0;
      s.test->z[k] = -0.5 + k;
    }
  }
  return s;
}

TEST(TidyTable, RowsHaveStableTermsAndEachEffectAppearsOncePerStratum) {
  const partition::Partition p = awkward_partition();
  const permutation::StrataResults s = strata_results(true);
  const std::vector<TidyRow> rows = tidy_rows(p, nullptr, &s);
  std::vector<std::string> seen;
  for (const TidyRow& r : rows) seen.push_back(r.stratum + "/" + r.term + "/" + r.label);
  const std::vector<std::string> expected = {
      "all/G1/G1", "all/G2/G2", "all/T/T(rep)", "all/G1:G2/G1xG2", "all/G1:T/G1xt", "all/G2:T/G2xt",
      "all/G1:G2:T/G1xG2xt", "all/Error/Error",
      "between/G1/G1", "between/G2/G2", "between/G1:G2/G1xG2", "between/Specimens/Specimens within G1xG2",
      "within/T/T(rep)", "within/G1:T/G1xt", "within/G2:T/G2xt", "within/G1:G2:T/G1xG2xt",
      "within/Residual/Residual"};
  EXPECT_EQ(seen, expected);

  // Without the tests by strata: the partition's eight rows only.
  EXPECT_EQ(tidy_rows(p, nullptr, nullptr).size(), 8u);
}

TEST(TidyTable, PValuesFollowTheAnalysisThatRan) {
  const partition::Partition p = awkward_partition();
  const permutation::StrataResults untested = strata_results(false);
  const std::vector<TidyRow> varexp = tidy_rows(p, nullptr, &untested);
  // VarExp: the analytic P in its own column and no P to read.
  EXPECT_DOUBLE_EQ(*varexp[0].p_analytic, 1.0 / 7.0);
  for (const TidyRow& r : varexp) {
    EXPECT_FALSE(r.p) << r.stratum << " " << r.term;
    EXPECT_FALSE(r.p_perm_f || r.p_perm_ss || r.z) << r.stratum << " " << r.term;
  }

  permutation::PermutationTest test;
  for (int k = 0; k < partition::kEffectCount; ++k) {
    test.p_perm_f[k] = (k + 1) / 100.0;
    test.p_perm_ss[k] = (k + 1) / 50.0;
  }
  const permutation::StrataResults tested = strata_results(true);
  const std::vector<TidyRow> permute = tidy_rows(p, &test, &tested);
  for (int k = 0; k < partition::kEffectCount; ++k) {
    const TidyRow& r = permute[static_cast<std::size_t>(k)];
    EXPECT_FALSE(r.p_analytic);
    EXPECT_EQ(*r.p_perm_ss, (k + 1) / 50.0);
    // The effect's own F test, not the crossed grouping's explained sum.
    EXPECT_EQ(*r.p, *r.p_perm_f);
    EXPECT_EQ(*r.p, (k + 1) / 100.0);
  }
  // Strata rows read the tests by strata; the denominators have no test.
  EXPECT_EQ(*permute[8].p, 0.001);      // between G1
  EXPECT_EQ(*permute[12].p, 0.003);     // within T
  EXPECT_EQ(*permute[12].z, 1.5);
  EXPECT_FALSE(permute[11].p || permute[11].f || permute[11].partial_r2);  // Specimens
  EXPECT_FALSE(permute[7].p || permute[7].f || permute[7].partial_r2);     // Error
}

TEST(TidyTable, PartialR2IsTheShareOfEffectPlusItsDenominator) {
  const partition::Partition p = awkward_partition();
  const permutation::StrataResults s = strata_results(true);
  const std::vector<TidyRow> rows = tidy_rows(p, nullptr, &s);
  // Against the formula written out, within 2 ulps.
  const double g2 = 0.2 / 3.0;
  EXPECT_NEAR(*rows[1].partial_r2, g2 / (g2 + 2.0 / 3.0), 4 * std::numeric_limits<double>::epsilon());
  EXPECT_NEAR(*rows[9].partial_r2, 0.02 / (0.02 + 0.25), 4 * std::numeric_limits<double>::epsilon());
  // Over a residual of zero an effect explains all that is left.
  EXPECT_EQ(*rows[12].partial_r2, 1.0);

  // An effect and a denominator that are both zero: the share is undefined.
  permutation::StrataResults flat = s;
  flat.table.effects[partition::kT].ss = 0;
  EXPECT_TRUE(std::isnan(*tidy_rows(p, nullptr, &flat)[12].partial_r2));
}

TEST(TidyTable, TextReadsBackExactlyUnderAnyLocaleAndMatchesTheJson) {
  const partition::Partition p = awkward_partition();
  const permutation::StrataResults s = strata_results(true);
  const std::vector<TidyRow> rows = tidy_rows(p, nullptr, &s);
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  const std::string csv = tidy_text(rows, ',');
  const std::string tsv = tidy_text(rows, '\t');
  std::setlocale(LC_ALL, saved.c_str());
  if (!german) std::fprintf(stderr, "de_DE.UTF-8 is not installed: the locale goes untested\n");

  const auto table = testing::table_fields(csv, ',');
  EXPECT_EQ(testing::table_fields(tsv, '\t'), table);
  ASSERT_EQ(table.size(), rows.size() + 1);
  ASSERT_EQ(table[0].size(), kTidyColumns.size());
  for (std::size_t c = 0; c < kTidyColumns.size(); ++c) EXPECT_EQ(table[0][c], kTidyColumns[c]);

  const nlohmann::json j = tidy_json(rows);
  ASSERT_EQ(j.size(), rows.size());
  for (std::size_t i = 1; i < table.size(); ++i) {
    ASSERT_EQ(table[i].size(), kTidyColumns.size()) << csv;
    const nlohmann::json& row = j[i - 1];
    EXPECT_EQ(row.size(), kTidyColumns.size());
    for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(row[std::string(kTidyColumns[c])], table[i][c]);
    for (std::size_t c = 3; c < kTidyColumns.size(); ++c) {
      const std::string& field = table[i][c];
      const nlohmann::json& value = row[std::string(kTidyColumns[c])];
      if (field.empty() || field == "NaN") {
        EXPECT_TRUE(value.is_null()) << kTidyColumns[c] << " of row " << i;
        continue;
      }
      // The C library's reading of the text gives back the very double.
      char* end = nullptr;
      const double read = std::strtod(field.c_str(), &end);
      EXPECT_EQ(*end, '\0') << field;
      EXPECT_EQ(read, value.get<double>()) << kTidyColumns[c] << " of row " << i << ": " << field;
    }
  }
  // The smallest double, a third and a df: shortest forms, whole df.
  EXPECT_EQ(table[8][7], "5e-324");                  // Error per_exp
  EXPECT_EQ(table[1][3], "0.03333333333333333");     // G1 ss
  EXPECT_EQ(table[1][4], "1");                       // df, never "1.0"
  EXPECT_TRUE(j[0]["df"].is_number_integer());
  EXPECT_EQ(table[7][6], "NaN");                     // G1xG2xt f, which cannot be computed
  EXPECT_EQ(table[8][6], "");                        // Error has no f
}

}  // namespace
}  // namespace lumivar::results
