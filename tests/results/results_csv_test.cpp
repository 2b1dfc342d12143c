// The CSV form of both tables: one row per effect and the error row, every
// number read back to the same double, missing statistics as empty fields.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "results/results_csv.h"
#include "support/text_lines.h"

namespace lumivar::results {
namespace {

partition::Partition awkward_partition() {
  partition::Partition p;
  for (int k = 0; k < partition::kEffectCount; ++k) {
    partition::Effect& e = p.effects[k];
    e.ss = 0.1 * (k + 1) / 3.0;  // no short decimal form
    e.df = k + 1;
    e.ms = e.ss / e.df;
    e.f = 1e-300 * (k + 1);
    e.p_analytic = 1.0 / 7.0;
    e.per_exp = 12.5;
  }
  p.effects[partition::kG1xG2xT].f = std::numeric_limits<double>::quiet_NaN();
  p.effects[partition::kG1xG2xT].p_analytic = std::numeric_limits<double>::quiet_NaN();
  p.effects[partition::kT].f = std::numeric_limits<double>::infinity();
  p.ss_error = 2.0 / 3.0;
  p.df_error = 40;
  p.ms_error = p.ss_error / 40;
  p.per_exp_error = 3.25;
  return p;
}

TEST(ResultsCsv, VarExpHasOneRowPerEffectAndReadsBackExactly) {
  const partition::Partition p = awkward_partition();
  const std::string csv = varexp_csv(p);
  const auto rows = testing::table_fields(csv, ',');
  ASSERT_EQ(rows.size(), 1u + partition::kEffectCount + 1u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"effect", "ss", "df", "ms", "f", "per_exp", "p_analytic"}));
  for (int k = 0; k < partition::kEffectCount; ++k) {
    const auto& r = rows[k + 1];
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0], partition::kEffectLabels[k]);
    EXPECT_EQ(std::stod(r[1]), p.effects[k].ss) << r[1];  // exact: 17 significant digits
    EXPECT_EQ(std::stod(r[3]), p.effects[k].ms) << r[3];
    if (k != partition::kT && k != partition::kG1xG2xT) {
      EXPECT_EQ(std::stod(r[4]), p.effects[k].f);
    }
  }
  EXPECT_EQ(rows[1 + partition::kT][4], "Inf");
  EXPECT_EQ(rows[1 + partition::kG1xG2xT][4], "NaN");
  EXPECT_EQ(rows[1 + partition::kG1xG2xT][6], "NaN");
  EXPECT_EQ(rows.back(), (std::vector<std::string>{"Error", "0.6666666666666666", "40",
                                                   "0.016666666666666666", "", "3.25", ""}));
  // No line ends in a blank, and the last one ends with its line break.
  EXPECT_EQ(csv.find(" \n"), std::string::npos);
  EXPECT_EQ(csv.find(' '), std::string::npos);
  EXPECT_EQ(csv.back(), '\n');
}

TEST(ResultsCsv, PermuteHasBothPermutationPValues) {
  const partition::Partition p = awkward_partition();
  permutation::Effects by_f{}, by_ss{};
  for (int k = 0; k < partition::kEffectCount; ++k) {
    by_f[k] = (k + 1) / 1000.0;
    by_ss[k] = 1.0 / (k + 3);
  }
  by_f[partition::kG1xG2xT] = std::numeric_limits<double>::quiet_NaN();
  const auto rows = testing::table_fields(permute_csv(p, by_f, by_ss), ',');
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[0].back(), "p_perm_ss");
  EXPECT_EQ(rows[0][6], "p_perm_f");
  for (int k = 0; k + 1 < partition::kEffectCount; ++k) {
    ASSERT_EQ(rows[k + 1].size(), 8u);
    EXPECT_EQ(std::stod(rows[k + 1][6]), by_f[k]);
    EXPECT_EQ(std::stod(rows[k + 1][7]), by_ss[k]);
  }
  EXPECT_EQ(rows[1 + partition::kG1xG2xT][6], "NaN");
  EXPECT_EQ(rows.back().size(), 8u);
  EXPECT_EQ(rows.back()[6], "");
}

// The fewest significant digits with which printf's %g (in the C locale)
// writes `x` so that it reads back exactly: an independent measure of the
// shortest round-trip text.
int fewest_round_trip_digits(double x) {
  for (int digits = 1; digits <= 17; ++digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, x);
    if (std::strtod(buf, nullptr) == x) return digits;
  }
  return 17;
}

// Significant digits of a decimal text: leading and trailing zeros do not
// count ("40" has one, as %g's 4e+01).
int significant_digits(const std::string& text) {
  std::string digits;
  for (char c : text.substr(0, text.find_first_of("eE")))
    if (c >= '0' && c <= '9' && !(c == '0' && digits.empty())) digits += c;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  return static_cast<int>(digits.size());
}

// Saved by the window program under a German locale, whose printf writes
// decimal commas; every value must still be the shortest text with a
// decimal point that reads back to the same double.
TEST(ResultsCsv, NumbersAreShortestRoundTripTextUnderADecimalCommaLocale) {
  partition::Partition p = awkward_partition();
  p.effects[partition::kG1].ss = 0.448;  // "%.17g" writes 0.44800000000000001
  p.effects[partition::kG2].ss = 0.0057553726987724721;
  p.effects[partition::kT].ss = 5e-324;  // the smallest subnormal
  p.effects[partition::kG1xG2].ss = 123456789.125;
  const std::string in_c_locale = varexp_csv(p);
  const std::string old_locale = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "The locale de_DE.UTF-8 is not installed (scripts/install-deps generates it).";
  const std::string csv = varexp_csv(p);
  std::setlocale(LC_ALL, old_locale.c_str());
  EXPECT_EQ(csv, in_c_locale);
  const auto rows = testing::table_fields(csv, ',');
  ASSERT_EQ(rows.size(), 1u + partition::kEffectCount + 1u);
  EXPECT_EQ(rows[1 + partition::kG1][1], "0.448");
  for (std::size_t r = 1; r < rows.size(); ++r) {
    ASSERT_EQ(rows[r].size(), 7u) << "row " << r;  // a decimal comma would add fields
    for (std::size_t c = 1; c < rows[r].size(); ++c) {
      const std::string& field = rows[r][c];
      if (field.empty() || field == "NaN" || field == "Inf" || field == "-Inf") continue;
      const double x = std::strtod(field.c_str(), nullptr);
      EXPECT_EQ(significant_digits(field), fewest_round_trip_digits(x)) << field;
    }
  }
}

}  // namespace
}  // namespace lumivar::results
