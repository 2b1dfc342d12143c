// Studies whose sums of squares are zero up to rounding, as digitising
// mistakes and test data make them: both analyses, both engines and both
// ways to the sums must print the same sound table for them (an effect that
// explains nothing is never significant, noise is never printed as a result,
// nothing is negative, a ratio over nothing is NaN).
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "partition/shapes_do_not_vary.h"
#include "partition/varexp.h"
#include "permutation/design_fixtures.h"
#include "permutation/permute.h"
#include "runtime/headless/headless_runtime.h"
#include "runtime/layout.h"

namespace lumivar::permutation {
namespace {

using partition::kEffectCount;
using partition::SumsMethod;

struct Window {
  Window() { runtime::build_layout(ui, R"({"Figure": {}, "Controls": [{"Tag": "ResBox", "String": ""}]})", "t"); }
  runtime::headless::HeadlessRuntime ui;
};

// Every way to each report: VarExp through the matrix and the coordinates,
// Permute by both engines through the matrix and by the fast engine through
// the coordinates, all with one seed. The texts of each report must agree.
struct AllWays {
  std::vector<std::string> varexp, permute;
  std::vector<PermuteOutcome> runs;
  std::vector<std::size_t> warnings;  // boxes shown by each analysis
};

AllWays run_all_ways(testing::StudyDesign& d, const std::string& nperm = "99") {
  AllWays all;
  for (SumsMethod sums : {SumsMethod::kMatrix, SumsMethod::kCoordinates}) {
    Window w;
    partition::SumsSettings s;
    s.sums = sums;
    all.varexp.push_back(partition::varexp(w.ui, d.session, s).report);
    all.warnings.push_back(w.ui.message_boxes.size());
  }
  const std::vector<std::pair<Engine, SumsMethod>> ways = {{Engine::kReference, SumsMethod::kMatrix},
                                                           {Engine::kFast, SumsMethod::kMatrix},
                                                           {Engine::kFast, SumsMethod::kCoordinates}};
  for (const auto& [engine, sums] : ways) {
    Window w;
    PermuteSettings s;
    s.seed = 5;
    s.threads = 2;
    s.engine = engine;
    s.sums = sums;
    all.runs.push_back(permute_count(w.ui, d.session, nperm, s));
    all.permute.push_back(all.runs.back().report);
    all.warnings.push_back(w.ui.message_boxes.size());
  }
  return all;
}

void expect_all_ways_agree(const AllWays& all) {
  for (const std::string& t : all.varexp) EXPECT_EQ(t, all.varexp.front());
  for (const std::string& t : all.permute) EXPECT_EQ(t, all.permute.front());
}

// The cells of the row of `label` ("T(rep)", ...) of a report, split at " \t",
// without the blanks that pad them to their width (" NaN" in the F column).
std::vector<std::string> row_of(const std::string& report, const std::string& label) {
  std::size_t at = report.find("\n" + label + " \t");
  if (at == std::string::npos) return {};
  at += label.size() + 3;
  const std::string line = report.substr(at, report.find('\n', at) - at);
  std::vector<std::string> cells;
  for (std::size_t pos = 0;;) {
    const std::size_t tab = line.find(" \t", pos);
    const std::string cell = line.substr(pos, tab - pos);
    cells.push_back(cell.substr(std::min(cell.find_first_not_of(' '), cell.size())));
    if (tab == std::string::npos) break;
    pos = tab + 2;
  }
  return cells;
}

// A negative number anywhere in a report ("-0.0000", "-4.64"): the error
// row's " - " placeholders are no numbers.
bool has_negative_number(const std::string& report) {
  for (std::size_t i = 0; i + 1 < report.size(); ++i)
    if (report[i] == '-' && std::isdigit(static_cast<unsigned char>(report[i + 1]))) return true;
  return false;
}

// Rows r and r + mg of the design measured on identical landmarks.
void copy_first_measurement(testing::StudyDesign& d) {
  runtime::Matrix& x = d.session.data;
  const std::size_t mg = x.rows() / 2;
  for (std::size_t i = 1; i <= mg; ++i)
    for (std::size_t j = 1; j <= x.cols(); ++j) x(i + mg, j) = x(i, j);
}

// Row i of the data replaced by row `from` of `shapes`, the trailing value kept.
void set_row(testing::StudyDesign& d, std::size_t i, const runtime::Matrix& shapes, std::size_t from) {
  runtime::Matrix& x = d.session.data;
  for (std::size_t j = 1; j < x.cols(); ++j) x(i, j) = shapes(from, j);
}

TEST(DegenerateStudies, AnEffectThatExplainsNothingHasPermutationPOfOne) {
  // The second measurement of every specimen is a copy of the first: T and
  // every interaction with T explain exactly nothing. Every relabelled F
  // ties the observed 0, and a tie does not count for the F test, so these
  // rows used to print the smallest P of the run.
  testing::StudyDesign d = testing::balanced_study(2, 2, 3, 6, 7);
  copy_first_measurement(d);
  const AllWays all = run_all_ways(d);
  expect_all_ways_agree(all);
  for (const char* label : {"T(rep)", "G1xt", "G2xt", "G1xG2xt"}) {
    const std::vector<std::string> row = row_of(all.permute.front(), label);
    ASSERT_EQ(row.size(), 7u) << label;
    EXPECT_EQ(row[0], "0.0000") << label;  // SS
    EXPECT_EQ(row[3], "0.00") << label;    // F
    EXPECT_EQ(row[4], "0.0000") << label;  // Per Exp
    EXPECT_EQ(row[5], "1.0000") << label;  // Perm F P
    EXPECT_EQ(row[6], "1.0000") << label;  // Perm Ex P
  }
  for (const PermuteOutcome& run : all.runs) {
    EXPECT_EQ(run.test.counts.exceedances[partition::kT], 100u);
    EXPECT_EQ(run.test.counts.ev_exceedances[partition::kG1xT], 100u);
  }
  // The effects that do vary keep the ordinary rule: G1 and G2 are tested.
  EXPECT_NE(row_of(all.permute.front(), "G1")[0], "0.0000");
  EXPECT_FALSE(has_negative_number(all.permute.front()));
  EXPECT_FALSE(has_negative_number(all.varexp.front()));
  for (std::size_t boxes : all.warnings) EXPECT_EQ(boxes, 0u);
}

TEST(DegenerateStudies, ShapesThatDoNotVaryGiveNaNAndOneWarningOnEveryWay) {
  testing::StudyDesign same = testing::balanced_study(2, 2, 2, 5, 3);
  // Identical numbers on every row, and one shape placed, sized and turned
  // differently on every row (a total of about 1e-31 that used to be
  // printed as "G1 explains 4.17%").
  testing::StudyDesign placed = testing::balanced_study(2, 2, 2, 5, 3);
  const runtime::Matrix shape = testing::random_landmarks(1, 5, 9, 0.0);
  const runtime::Matrix moved = testing::random_landmarks(16, 5, 9, 0.0);
  for (std::size_t i = 1; i <= 16; ++i) {
    set_row(same, i, shape, 1);
    set_row(placed, i, moved, i);
  }
  for (testing::StudyDesign* d : {&same, &placed}) {
    const AllWays all = run_all_ways(*d);
    expect_all_ways_agree(all);
    for (std::size_t boxes : all.warnings) EXPECT_EQ(boxes, 1u);
    EXPECT_EQ(all.varexp.front().substr(0, 36), "For the entire data set, SS=0.000000");
    for (const char* label : partition::kEffectLabels) {
      const std::vector<std::string> row = row_of(all.permute.front(), label);
      ASSERT_EQ(row.size(), 7u) << label;
      EXPECT_EQ(row[0], "0.0000") << label;
      for (std::size_t c : {3, 4, 5, 6}) EXPECT_EQ(row[c], "NaN") << label << " column " << c;
    }
    for (const PermuteOutcome& run : all.runs)
      for (int k = 0; k < kEffectCount; ++k) {
        EXPECT_TRUE(std::isnan(run.test.p_perm_f[k]));
        EXPECT_TRUE(std::isnan(run.test.p_perm_ss[k]));
      }
  }
  Window w;
  partition::varexp(w.ui, same.session);
  ASSERT_EQ(w.ui.message_boxes.size(), 1u);
  EXPECT_EQ(w.ui.message_boxes[0].title, partition::kShapesDoNotVaryTitle);
  EXPECT_EQ(w.ui.message_boxes[0].text, partition::kShapesDoNotVaryText);
}

TEST(DegenerateStudies, EffectsAtRoundingLevelPrintAsZeroNeverNegative) {
  // Two shapes, one per G1 group, each placed differently on every row: G1
  // explains everything, and every other sum (the error too) is rounding
  // noise of order 1e-16 of the total, which used to print as negative SS
  // and F ("-0.0000", F -4.64) and to differ between the ways to the sums.
  testing::StudyDesign d = testing::balanced_study(2, 2, 2, 6, 4);
  const runtime::Matrix first = testing::random_landmarks(16, 6, 21, 0.0);
  const runtime::Matrix second = testing::random_landmarks(16, 6, 22, 0.0);
  const std::size_t mg = 8;
  for (std::size_t i = 1; i <= 2 * mg; ++i) {
    const double g1 = d.session.group((i - 1) % mg + 1, 1);
    set_row(d, i, g1 == 1 ? first : second, i);
  }
  const AllWays all = run_all_ways(d);
  expect_all_ways_agree(all);
  for (const std::string* t : {&all.varexp.front(), &all.permute.front()})
    EXPECT_FALSE(has_negative_number(*t)) << *t;
  const std::vector<std::string> g1 = row_of(all.permute.front(), "G1");
  ASSERT_EQ(g1.size(), 7u);
  EXPECT_EQ(g1[4], "100.0000");
  EXPECT_EQ(g1[3], "NaN");  // no spread within the cells: no F
  for (const char* label : {"G2", "T(rep)", "G1xG2", "G1xt", "G2xt", "G1xG2xt"}) {
    const std::vector<std::string> row = row_of(all.permute.front(), label);
    ASSERT_EQ(row.size(), 7u) << label;
    EXPECT_EQ(row[0], "0.0000") << label;
    EXPECT_EQ(row[4], "0.0000") << label;
    EXPECT_EQ(row[3], "NaN") << label;
  }
  EXPECT_NE(all.permute.front().find("\nError  \t0.0000 \t"), std::string::npos);
  for (std::size_t boxes : all.warnings) EXPECT_EQ(boxes, 0u);
}

}  // namespace
}  // namespace lumivar::permutation
