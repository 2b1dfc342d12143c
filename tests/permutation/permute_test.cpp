// The "Permute" action on the headless window runtime.
#include "permutation/permute.h"

#include <atomic>
#include <sstream>

#include <gtest/gtest.h>

#include "geometry/allpairwiseprocrustes.h"
#include "partition/analysis_inputs.h"
#include "permutation/design_fixtures.h"
#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"

namespace lumivar::permutation {
namespace {

using runtime::Handle;
using testing::balanced_study;

// A window with the two boxes the action uses.
struct Window {
  Window() {
    const Handle fig = ui.create("figure", runtime::kRoot);
    res = ui.create("uicontrol", fig);
    ui.set(res, "Tag", "ResBox");
    ui.set(res, "String", "earlier results");
    perm = ui.create("uicontrol", fig);
    ui.set(perm, "Tag", "PermBox");
  }
  void type_count(const std::string& text) { ui.set(perm, "String", text); }
  std::string results() const { return ui.get(res, "String").text(); }

  runtime::headless::HeadlessRuntime ui;
  Handle res = 0, perm = 0;
};

PermuteSettings seeded(std::uint64_t seed, int threads = 1, Engine engine = Engine::kFast) {
  PermuteSettings s;
  s.seed = seed;
  s.threads = threads;
  s.engine = engine;
  return s;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string f; std::getline(in, f, '\t');) out.push_back(f);
  return out;
}

// The seven effect rows of a report, split at the tabs.
std::vector<std::vector<std::string>> effect_rows(const std::string& report) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : lines(report)) {
    for (const char* label : {"G1 ", "G2 ", "T(rep) ", "G1xG2 ", "G1xt ", "G2xt ", "G1xG2xt "})
      if (line.rfind(label, 0) == 0) rows.push_back(fields(line));
  }
  return rows;
}

TEST(Permute, NoRelabellingsGiveOneEverywhere) {
  Window w;
  runtime::Session s = balanced_study(2, 2, 3, 5, 3).session;
  w.type_count("0");
  const PermuteOutcome o = permute(w.ui, s, seeded(1));
  ASSERT_TRUE(o.done());
  EXPECT_EQ(w.results(), o.report);
  EXPECT_EQ(o.report.rfind("For the entire data set, SS=", 0), 0u);
  EXPECT_NE(o.report.find(", using 0 permuations\n"), std::string::npos);
  const auto rows = effect_rows(o.report);
  ASSERT_EQ(rows.size(), 7u);
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 8u);
    EXPECT_EQ(row[6], "1.0000 ");
    EXPECT_EQ(row[7], "1.0000");
  }
  // The distance matrix is rebuilt and stored; the printed partition is the
  // one "VarExp" computes.
  EXPECT_EQ(s.dmatrix, geometry::allpairwiseprocrustes(s.data));
  const partition::Partition p = partition::compute_partition(
      s.dmatrix, s.group, s.repgroup, partition::check_analysis_inputs(s));
  for (int k = 0; k < kEffectCount; ++k) EXPECT_EQ(o.partition.effects[k].f, p.effects[k].f);
  EXPECT_TRUE(w.ui.message_boxes.empty());
}

TEST(Permute, OneRelabellingGivesHalfOrOne) {
  runtime::Session s = balanced_study(2, 2, 2, 4, 5).session;
  for (std::uint64_t seed = 1; seed <= 5; ++seed) {
    Window w;
    w.type_count("1");
    const PermuteOutcome o = permute(w.ui, s, seeded(seed));
    for (const auto& row : effect_rows(w.results())) {
      EXPECT_TRUE(row[6] == "0.5000 " || row[6] == "1.0000 ") << row[6];
      EXPECT_TRUE(row[7] == "0.5000" || row[7] == "1.0000") << row[7];
    }
  }
}

TEST(Permute, SameSeedSameTextForAnyThreadsAndEngine) {
  runtime::Session s = balanced_study(3, 2, 2, 6, 7).session;
  Window w;
  w.type_count("250");
  const std::string first = permute(w.ui, s, seeded(42, 1)).report;
  for (int threads : {2, 7}) {
    EXPECT_EQ(permute(w.ui, s, seeded(42, threads)).report, first);
  }
  EXPECT_EQ(permute(w.ui, s, seeded(42, 2, Engine::kReference)).report, first);
}

TEST(Permute, SeedsChangeThePValuesButNotTheObservedColumns) {
  runtime::Session s = balanced_study(3, 2, 2, 6, 9).session;
  Window w;
  w.type_count("199");
  const PermuteOutcome a = permute(w.ui, s, seeded(1));
  const PermuteOutcome b = permute(w.ui, s, seeded(2));
  const auto ra = effect_rows(a.report), rb = effect_rows(b.report);
  ASSERT_EQ(ra.size(), 7u);
  bool p_differ = false;
  for (std::size_t k = 0; k < 7; ++k) {
    EXPECT_EQ(std::vector<std::string>(ra[k].begin(), ra[k].begin() + 6),
              std::vector<std::string>(rb[k].begin(), rb[k].begin() + 6));
    p_differ |= ra[k][6] != rb[k][6] || ra[k][7] != rb[k][7];
  }
  EXPECT_TRUE(p_differ);

  // Without a seed every run draws its own from the system, and reports it:
  // running again with the reported seed gives the same text.
  PermuteSettings fresh;
  fresh.threads = 1;
  const PermuteOutcome c = permute(w.ui, s, fresh);
  const PermuteOutcome d = permute(w.ui, s, fresh);
  EXPECT_NE(c.seed, d.seed);
  EXPECT_EQ(permute(w.ui, s, seeded(c.seed)).report, c.report);
}

TEST(Permute, RefusesCountsThatAreNotOneWholeNumber) {
  runtime::Session s = balanced_study(2, 2, 2, 4, 5).session;
  for (const char* text : {"", "  ", "1 2", "2.5", "-1", "abc", "Inf", "NaN", "3,4"}) {
    SCOPED_TRACE(text);
    Window w;
    w.type_count(text);
    const PermuteOutcome o = permute(w.ui, s, seeded(1));
    EXPECT_FALSE(o.done());
    EXPECT_EQ(w.results(), "earlier results");
    EXPECT_TRUE(s.dmatrix.empty());
    ASSERT_EQ(w.ui.message_boxes.size(), 1u);
    EXPECT_EQ(w.ui.message_boxes[0].title, "Dang:Error");
    EXPECT_EQ(w.ui.message_boxes[0].text, o.refusal);
  }
  Window w;
  w.type_count("2.5");
  EXPECT_EQ(permute(w.ui, s, seeded(1)).refusal,
            "The box for the number of permutations must hold one whole number of at least 0 "
            "(for example 999). It holds \"2.5\".");
  w.type_count("");
  EXPECT_EQ(permute(w.ui, s, seeded(1)).refusal,
            "The box for the number of permutations must hold one whole number of at least 0 "
            "(for example 999). It is empty.");

  EXPECT_EQ(parse_permutation_count(" 12\n"), 12u);
  EXPECT_EQ(parse_permutation_count("1e3"), 1000u);
  EXPECT_EQ(parse_permutation_count("7.0"), 7u);
  EXPECT_EQ(parse_permutation_count("0"), 0u);
  EXPECT_FALSE(parse_permutation_count("1e300"));
}

TEST(Permute, RefusesLayoutsOtherThanTwoMeasurementsPerSpecimen) {
  const runtime::Session two = balanced_study(2, 2, 2, 4, 5).session;  // 16 rows, 8 specimens
  runtime::Session one = two;  // one measurement per specimen
  one.data = two.data.row_range(1, 8);
  one.repgroup = two.repgroup.row_range(1, 8);
  runtime::Session three = two;  // three codes of the repeated measure
  three.nrep = runtime::Matrix::scalar(3);
  runtime::Session more = two;  // more rows than two per specimen
  more.data = two.data.stacked(two.data.row_range(1, 8));
  more.repgroup = two.repgroup.stacked(two.repgroup.row_range(1, 8));

  for (runtime::Session* s : {&one, &three, &more}) {
    Window w;
    w.type_count("10");
    const runtime::Session before = *s;
    const PermuteOutcome o = permute(w.ui, *s, seeded(1));
    EXPECT_FALSE(o.done());
    EXPECT_EQ(w.results(), "earlier results");
    EXPECT_TRUE(s->dmatrix.empty());
    EXPECT_EQ(s->data, before.data);
    ASSERT_EQ(w.ui.message_boxes.size(), 1u);
    EXPECT_EQ(w.ui.message_boxes[0].title, "Dang:Error");
  }
  Window w;
  w.type_count("10");
  EXPECT_EQ(permute(w.ui, one, seeded(1)).refusal,
            "The permutation test needs two measurements of every specimen: twice as many rows "
            "of landmark data as rows of group codes, and repeated-measures codes with two "
            "values. Loaded: 8 rows of landmark data, 8 rows of group codes and 2 "
            "repeated-measures code values.");
}

TEST(Permute, CancelLeavesTheResultsAlone) {
  runtime::Session s = balanced_study(2, 2, 3, 4, 5).session;
  Window w;
  w.type_count("5000");
  std::atomic<bool> cancel{true};
  PermuteSettings settings = seeded(1, 2);
  settings.cancel = &cancel;
  EXPECT_THROW(permute(w.ui, s, settings), runtime::Error);
  EXPECT_EQ(w.results(), "earlier results");

  cancel = false;
  settings.progress = [&](std::size_t, std::size_t) { cancel = true; };
  EXPECT_THROW(permute(w.ui, s, settings), runtime::Error);
  EXPECT_EQ(w.results(), "earlier results");
}

TEST(Permute, MissingInputsRaiseAndChangeNothing) {
  runtime::Session s = balanced_study(2, 2, 2, 4, 5).session;
  s.group = runtime::Matrix();
  Window w;
  w.type_count("10");
  EXPECT_THROW(permute(w.ui, s, seeded(1)), runtime::Error);
  EXPECT_EQ(w.results(), "earlier results");
  EXPECT_TRUE(s.dmatrix.empty());
}

}  // namespace
}  // namespace lumivar::permutation
