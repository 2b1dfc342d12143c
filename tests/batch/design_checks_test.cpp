// Studies as users write them, through the batch tool: codes of any value,
// code files that do not match the landmark data, unbalanced designs,
// effects whose statistic is undefined, and tiny analytic P values.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "batch/commands.h"
#include "batch_run.h"
#include "support/temp_files.h"

namespace lumivar::batch {
namespace {

const std::string kExamples = LUMIVAR_EXAMPLES;

// The three files of a study, one line per row.
struct Study {
  std::vector<std::string> landmarks, reps, groups;
};

std::vector<std::string> read_lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Study example_study() {
  return {read_lines(kExamples + "/landmarks.txt"), read_lines(kExamples + "/reps.txt"),
          read_lines(kExamples + "/groups.txt")};
}

// A study of mg specimens measured twice (rows j and j + mg), G1 and G2
// codes per specimen, measurement codes 1 then 2, five landmarks of random
// shape each; `shift` moves landmark 1 of the second measurement.
Study random_study(const std::vector<std::pair<double, double>>& codes, std::uint32_t seed,
                   double noise = 0.05, double shift = 0.0) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> n(0, noise);
  Study s;
  const std::size_t mg = codes.size();
  for (std::size_t r = 0; r < 2 * mg; ++r) {
    std::ostringstream line;
    line.precision(17);
    for (int j = 0; j < 5; ++j) {
      const double a = 2 * M_PI * j / 5;
      const double dx = r >= mg && j == 0 ? shift : 0.0;
      line << std::cos(a) + dx + n(rng) << ' ' << std::sin(a) + n(rng) << ' ';
    }
    line << r + 1;
    s.landmarks.push_back(line.str());
    s.reps.push_back(r < mg ? "1" : "2");
  }
  for (const auto& [g1, g2] : codes) {
    std::ostringstream line;
    line.precision(17);
    line << g1 << ' ' << g2;
    s.groups.push_back(line.str());
  }
  return s;
}

// `per_cell` specimens in each cell of n1 x n2 groups, codes 1, 2, ...
std::vector<std::pair<double, double>> balanced_codes(int n1, int n2, int per_cell) {
  std::vector<std::pair<double, double>> codes;
  for (int c = 0; c < per_cell; ++c)
    for (int a = 1; a <= n1; ++a)
      for (int b = 1; b <= n2; ++b) codes.emplace_back(a, b);
  return codes;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

// Rewrites column `col` (0-based) of every line of a code file.
std::vector<std::string> mapped(const std::vector<std::string>& lines, std::size_t col,
                                const std::function<std::string(double)>& f) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    words[col] = f(std::stod(words[col]));
    std::string l;
    for (std::size_t i = 0; i < words.size(); ++i) l += (i ? " " : "") + words[i];
    out.push_back(l);
  }
  return out;
}

class Runner {
 public:
  BatchRun operator()(Command c, const Study& s, CommandLine o = {}) {
    o.inputs.data = folder_.write("landmarks.txt", joined(s.landmarks));
    o.inputs.reps = folder_.write("reps.txt", joined(s.reps));
    o.inputs.groups = folder_.write("groups.txt", joined(s.groups));
    return run_batch(c, o);
  }
  BatchRun permute(const Study& s, const std::string& n, std::uint64_t seed,
                   const std::string& engine = "fast", const std::string& format = "text") {
    CommandLine o;
    o.permutations = n;
    o.seed = seed;
    o.threads = 1;
    o.engine = engine;
    o.format = format;
    return (*this)(Command::kPermute, s, o);
  }

 private:
  testing::TempFolder folder_;
};

// The message of a refused run: exit 1, no report, the message on standard error.
std::string refusal(const BatchRun& r) {
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  const std::string tag = "lumivar-batch: error: ";
  const std::size_t at = r.err.find(tag);
  if (at == std::string::npos) return "no message in: " + r.err;
  return r.err.substr(at + tag.size(), r.err.find('\n', at) - at - tag.size());
}

// Both analyses refuse `s` with `message`.
void expect_both_refuse(Runner& run, const Study& s, const std::string& message) {
  EXPECT_EQ(refusal(run(Command::kVarExp, s)), message);
  EXPECT_EQ(refusal(run.permute(s, "9", 1)), message);
}

std::string str(double v) {
  std::ostringstream s;
  s.precision(17);
  s << v;
  return s.str();
}

TEST(CodesAreLabels, AnyFiniteCodesGiveTheReportOfTheirRelabelling) {
  Runner run;
  const Study plain = example_study();
  const BatchRun varexp = run(Command::kVarExp, plain);
  const BatchRun fast = run.permute(plain, "199", 5);
  const BatchRun reference = run.permute(plain, "199", 5, "reference");
  ASSERT_EQ(varexp.status, 0) << varexp.err;
  ASSERT_EQ(fast.status, 0) << fast.err;
  EXPECT_EQ(reference.out, fast.out);

  // G2 shifted by -2 (the crossing a * (max b + 1) + b merged cells here),
  // G1 as -3 and 2, T as 0.5 and -7, G2 as 1e15 and 1.
  Study shifted = plain;
  shifted.groups = mapped(plain.groups, 1, [](double v) { return str(v - 2); });
  Study odd = plain;
  odd.groups = mapped(plain.groups, 0, [](double v) { return v == 1 ? "-3" : "2"; });
  odd.groups = mapped(odd.groups, 1, [](double v) { return v == 1 ? "1e15" : "1"; });
  odd.reps = mapped(plain.reps, 0, [](double v) { return v == 1 ? "0.5" : "-7"; });
  for (const Study* s : {&shifted, &odd}) {
    EXPECT_EQ(run(Command::kVarExp, *s).out, varexp.out);
    EXPECT_EQ(run.permute(*s, "199", 5).out, fast.out);
    EXPECT_EQ(run.permute(*s, "199", 5, "reference").out, fast.out);
  }
  // No sum of squares or share of the total is negative.
  EXPECT_EQ(varexp.out.find(" \t-"), std::string::npos);
}

TEST(CodesAreLabels, NaNAndInfiniteCodesAreRefusedNamingFileAndLine) {
  Runner run;
  Study s = random_study(balanced_codes(2, 2, 3), 3);
  s.reps[6] = "NaN";
  expect_both_refuse(run, s,
                     "The repeated-measures code file reps.txt, line 7: the code NaN is not a "
                     "finite number. Codes are labels such as 1 and 2; correct the file and load "
                     "it again.");
  s = random_study(balanced_codes(2, 2, 3), 3);
  s.groups[4] = "1 -Inf";
  expect_both_refuse(run, s,
                     "The group code file groups.txt, line 5: the G2 code -Inf is not a finite "
                     "number. Codes are labels such as 1 and 2; correct the file and load it "
                     "again.");
}

TEST(Layouts, CodeFilesThatDoNotMatchTheDataAreRefused) {
  Runner run;
  Study s = random_study(balanced_codes(2, 2, 3), 4);  // 12 specimens, 24 rows
  s.groups.push_back("1 1");
  EXPECT_EQ(refusal(run(Command::kVarExp, s)),
            "The group code file groups.txt has 13 rows, but it needs one per specimen: 24 rows "
            "of landmark data / 2 repeated-measures codes = 12 specimens.");
  EXPECT_EQ(run.permute(s, "9", 1).status, 1);

  s = random_study(balanced_codes(2, 2, 3), 4);
  s.reps.push_back("3");
  expect_both_refuse(run, s,
                     "The repeated-measures code file reps.txt has 25 rows, but the landmark "
                     "data has 24: one code per row of landmark data is needed.");
}

TEST(Layouts, UnbalancedDesignsAreRefusedNamingCodesOrCellsAndCounts) {
  Runner run;
  Study s = random_study(balanced_codes(2, 2, 3), 5);
  s.reps[11] = "2";  // the last first-measurement row coded as a second one
  expect_both_refuse(run, s,
                     "The design is not balanced, so its sums of squares cannot be partitioned: "
                     "every repeated-measures code should have 12 rows of landmark data (24 rows "
                     "/ 2 codes), but code 1 has 11 and code 2 has 13. Check the "
                     "repeated-measures and group code files.");

  s = random_study(balanced_codes(2, 2, 3), 5);
  s.groups[0] = "1 2";  // cell (1, 1) loses a specimen to cell (1, 2)
  expect_both_refuse(run, s,
                     "The design is not balanced, so its sums of squares cannot be partitioned: "
                     "every G1 x G2 cell should have 6 rows of landmark data (24 rows / 4 "
                     "cells), but cell (G1 1, G2 1) has 4 and cell (G1 1, G2 2) has 8. Check the "
                     "repeated-measures and group code files. The tests by strata take unequal "
                     "cells: run lumivar-batch strata with the same files, or Analysis > Tests by "
                     "strata in the window.");

  // An empty cell is named too; the required count may be fractional.
  s = random_study({{1, 1}, {1, 2}, {2, 1}, {1, 1}, {1, 2}, {2, 1}}, 5);
  EXPECT_EQ(refusal(run(Command::kVarExp, s)),
            "The design is not balanced, so its sums of squares cannot be partitioned: every G1 x "
            "G2 cell should have 3 rows of landmark data (12 rows / 4 cells), but cell (G1 1, G2 "
            "1) has 4, cell (G1 1, G2 2) has 4, cell (G1 2, G2 1) has 4 and cell (G1 2, G2 2) "
            "has none. Check the repeated-measures and group code files.");

  // Loading still only warns, with its own boxes (titled as warnings, since the
  // tool goes on and exits 0).
  CommandLine load;
  const BatchRun loaded = run(Command::kLoad, s, load);
  EXPECT_EQ(loaded.status, 0);
  EXPECT_NE(loaded.err.find("lumivar-batch: warning: Mismatch in counts between groups 1 and 2"),
            std::string::npos)
      << loaded.err;
}

TEST(Layouts, PermuteRefusesMeasurementCodesNotInTwoHalves) {
  Runner run;
  // 16 specimens, two of each G1 x G2 cell in a row, measurement codes
  // alternating 1, 2, 1, 2: balanced, but rows j and j + 16 share a code.
  std::vector<std::pair<double, double>> codes;
  for (int i = 0; i < 16; ++i) codes.emplace_back(1 + (i / 2) % 2, 1 + (i / 4) % 2);
  Study s = random_study(codes, 6);
  for (std::size_t r = 0; r < s.reps.size(); ++r) s.reps[r] = r % 2 ? "2" : "1";
  const BatchRun varexp = run(Command::kVarExp, s);
  EXPECT_EQ(varexp.status, 0) << varexp.err;  // the partition does not need the halves
  EXPECT_EQ(refusal(run.permute(s, "9", 1)),
            "The permutation test exchanges the two measurements of each specimen, which it "
            "takes from rows j and j + 16 of the landmark data, so those rows must carry the two "
            "different repeated-measures codes; but rows 1 and 17 both carry code 1 (and 15 more "
            "specimens likewise). Put every specimen's first measurement in rows 1 to 16 and its "
            "second, in the same order, in the rows after them.");
}

// The fields of the effect row `label` of a report, split at the tabs.
std::vector<std::string> row(const std::string& report, const std::string& label) {
  std::istringstream in(report);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(label + " \t", 0) != 0) continue;
    std::vector<std::string> fields;
    std::istringstream l(line);
    for (std::string f; std::getline(l, f, '\t');) fields.push_back(f);
    return fields;
  }
  return {};
}

TEST(UndefinedStatistics, EffectsWithoutAnFHaveNoPValue) {
  Runner run;
  // One G1 level: G1 and every interaction with it have 0 degrees of freedom.
  std::vector<std::pair<double, double>> codes;
  for (int i = 0; i < 12; ++i) codes.emplace_back(1, 1 + i % 2);
  const Study s = random_study(codes, 7);
  for (const char* engine : {"fast", "reference"}) {
    const BatchRun r = run.permute(s, "99", 2, engine);
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* label : {"G1", "G1xG2", "G1xt", "G1xG2xt"}) {
      const std::vector<std::string> f = row(r.out, label);
      ASSERT_EQ(f.size(), 8u) << label;
      EXPECT_EQ(f[4], " NaN ") << label;  // F
      EXPECT_EQ(f[6], "NaN ") << label;   // Perm F P
      EXPECT_EQ(f[7], "NaN") << label;    // Perm Ex P
    }
    const std::vector<std::string> g2 = row(r.out, "G2");
    ASSERT_EQ(g2.size(), 8u);
    EXPECT_NE(g2[6], "NaN ");
  }
  const nlohmann::json j = nlohmann::json::parse(run.permute(s, "99", 2, "fast", "json").out);
  EXPECT_TRUE(j["effects"][0]["p_perm_f"].is_null());
  EXPECT_TRUE(j["effects"][0]["p_perm_ss"].is_null());
  EXPECT_TRUE(j["effects"][1]["p_perm_f"].is_number());

  CommandLine json;
  json.format = "json";
  const nlohmann::json v = nlohmann::json::parse(run(Command::kVarExp, s, json).out);
  EXPECT_TRUE(v["effects"][0]["p_analytic"].is_null());
  EXPECT_TRUE(v["effects"][1]["p_analytic"].is_number());
}

TEST(UndefinedStatistics, PermuteRefusesADesignWithoutErrorDegreesOfFreedom) {
  Runner run;
  const Study s = random_study(balanced_codes(2, 2, 1), 8);  // one specimen per cell
  EXPECT_EQ(run(Command::kVarExp, s).status, 0);  // the table shows what it can
  EXPECT_EQ(refusal(run.permute(s, "99", 1)),
            "The permutation test needs error degrees of freedom, but this design has none: 8 "
            "rows of landmark data in 8 G1 x G2 x T cells leave one row per cell, so there is no "
            "error mean square to divide by and no F ratio to compare. It needs at least two "
            "specimens in every G1 x G2 cell.");
}

TEST(UndefinedStatistics, AnalyticPBelowRoundingKeepsItsValueInJson) {
  Runner run;
  // A second measurement that moves landmark 1 by far more than the noise.
  const Study s = random_study(balanced_codes(2, 2, 5), 9, 0.001, 0.3);
  CommandLine json;
  json.format = "json";
  const BatchRun r = run(Command::kVarExp, s, json);
  ASSERT_EQ(r.status, 0) << r.err;
  const double p = nlohmann::json::parse(r.out)["effects"][2]["p_analytic"].get<double>();
  EXPECT_GT(p, 0.0);
  EXPECT_LT(p, 1e-20);  // 1 - cdf would be exactly 0 here
  // The table keeps its four decimals.
  EXPECT_EQ(row(run(Command::kVarExp, s).out, "T(rep)")[5], "0.0000 ");
}

TEST(Ties, BothEnginesPrintTheSameTableOnASmallSymmetricDesign) {
  Runner run;
  // 8 specimens, G1 2 x G2 2, two measurements, and only five distinct
  // shapes among the 16 rows (as when landmarks are digitised on a coarse
  // grid): many relabellings tie through different splits of the rows.
  Study s = random_study(balanced_codes(2, 2, 2), 10);
  for (std::size_t r = 5; r < s.landmarks.size(); ++r) {
    const std::string& model = s.landmarks[r % 5];
    s.landmarks[r] = model.substr(0, model.rfind(' ')) + " " + std::to_string(r + 1);
  }
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    const BatchRun fast = run.permute(s, "4999", seed);
    ASSERT_EQ(fast.status, 0) << fast.err;
    EXPECT_EQ(run.permute(s, "4999", seed, "reference").out, fast.out) << "seed " << seed;
  }
}

}  // namespace
}  // namespace lumivar::batch
