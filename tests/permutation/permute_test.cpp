// The "Permute" action on the headless window runtime.
#include "permutation/permute.h"

#include <atomic>

#include <gtest/gtest.h>

#include "geometry/allpairwiseprocrustes.h"
#include "partition/analysis_inputs.h"
#include "permutation/design_fixtures.h"
#include "runtime/error.h"
#include "runtime/headless/headless_runtime.h"
#include "support/error_message.h"
#include "support/text_lines.h"

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

// A refusal: a box titled "Permutation test" saying the outcome's text, and
// nothing ran or changed.
void expect_refused(const Window& w, const runtime::Session& s, const PermuteOutcome& o) {
  EXPECT_FALSE(o.done());
  EXPECT_EQ(w.results(), "earlier results");
  EXPECT_TRUE(s.dmatrix.empty());
  ASSERT_EQ(w.ui.message_boxes.size(), 1u);
  EXPECT_EQ(w.ui.message_boxes[0].title, "Permutation test");
  EXPECT_EQ(w.ui.message_boxes[0].text, o.refusal);
}

// The seven effect rows of a report, split at the tabs.
std::vector<std::vector<std::string>> effect_rows(const std::string& report) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : testing::text_lines(report)) {
    for (const char* label : {"G1 ", "G2 ", "T(rep) ", "G1xG2 ", "G1xt ", "G2xt ", "G1xG2xt "})
      if (line.rfind(label, 0) == 0) rows.push_back(testing::tab_cells(line));
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
  // The report stands, and one box says why every P is 1 and what to ask for.
  ASSERT_EQ(w.ui.message_boxes.size(), 1u);
  EXPECT_EQ(w.ui.message_boxes[0].title, "Permutation test");
  EXPECT_NE(w.ui.message_boxes[0].text.find("every P value is 1"), std::string::npos);
  EXPECT_NE(w.ui.message_boxes[0].text.find("999"), std::string::npos);
  // One relabelling is a test, however weak: no box.
  Window one;
  one.type_count("1");
  ASSERT_TRUE(permute(one.ui, s, seeded(1)).done());
  EXPECT_TRUE(one.ui.message_boxes.empty());
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

TEST(Permute, SameSeedSameTextFromEitherEngine) {
  runtime::Session s = balanced_study(3, 2, 2, 6, 7).session;
  Window w;
  w.type_count("250");
  EXPECT_EQ(permute(w.ui, s, seeded(42, 2, Engine::kReference)).report,
            permute(w.ui, s, seeded(42, 1)).report);
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
  EXPECT_NE(c.test.plan.seed, d.test.plan.seed);
  EXPECT_EQ(permute(w.ui, s, seeded(c.test.plan.seed)).report, c.report);
}

TEST(Permute, RefusesCountsThatAreNotOneWholeNumber) {
  runtime::Session s = balanced_study(2, 2, 2, 4, 5).session;
  for (const char* text : {"", "  ", "1 2", "2.5", "-1", "abc", "Inf", "NaN", "3,4"}) {
    SCOPED_TRACE(text);
    Window w;
    w.type_count(text);
    expect_refused(w, s, permute(w.ui, s, seeded(1)));
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
  runtime::Session one = two;  // one measurement per specimen, as loading counts it
  one.data = two.data.row_range(1, 8);
  one.repgroup = two.repgroup.row_range(1, 8);
  one.nrep = runtime::Matrix::scalar(1);
  runtime::Session three = two;  // three measurements of every specimen
  three.data = two.data.stacked(two.data.row_range(1, 8));
  three.repgroup = two.repgroup.stacked(runtime::Matrix(8, 1, 3.0));
  three.nrep = runtime::Matrix::scalar(3);
  runtime::Session more = two;  // more rows than two per specimen
  more.data = two.data.stacked(two.data.row_range(1, 8));
  more.repgroup = two.repgroup.stacked(two.repgroup.row_range(1, 8));

  // Layouts no analysis takes are refused as "VarExp" refuses them.
  for (runtime::Session* s : {&three, &more}) {
    Window w;
    w.type_count("10");
    const runtime::Session before = *s;
    EXPECT_THROW(permute(w.ui, *s, seeded(1)), runtime::Error);
    EXPECT_EQ(w.results(), "earlier results");
    EXPECT_TRUE(s->dmatrix.empty());
    EXPECT_EQ(s->data, before.data);
  }
  // One measurement per specimen is a design for "VarExp" but not for the
  // relabelling.
  Window w;
  w.type_count("10");
  const PermuteOutcome o = permute(w.ui, one, seeded(1));
  expect_refused(w, one, o);
  EXPECT_EQ(o.refusal,
            "The permutation test needs two measurements of every specimen: twice as many rows "
            "of landmark data as rows of group codes, and repeated-measures codes with two "
            "values. Loaded: 8 rows of landmark data, 8 rows of group codes and 1 "
            "repeated-measures code values.");
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

namespace lumivar::permutation {
namespace {

void expect_same_session(const runtime::Session& a, const runtime::Session& b) {
  EXPECT_EQ(a.data, b.data);
  EXPECT_EQ(a.repgroup, b.repgroup);
  EXPECT_EQ(a.group, b.group);
  EXPECT_EQ(a.nfound, b.nfound);
  EXPECT_EQ(a.repgroupcode, b.repgroupcode);
  EXPECT_EQ(a.repgroupcount, b.repgroupcount);
  EXPECT_EQ(a.nrep, b.nrep);
  EXPECT_EQ(a.n1g, b.n1g);
  EXPECT_EQ(a.n2g, b.n2g);
  EXPECT_EQ(a.dmatrix, b.dmatrix);
}

TEST(PermuteProgress, ACancelFromTheWindowLeavesResultsAndSessionAsTheyWere) {
  runtime::Session s = balanced_study(2, 2, 3, 4, 5).session;
  s.dmatrix = runtime::Matrix::scalar(7);  // what an earlier analysis left
  s.nfound = runtime::Matrix::scalar(2);
  const runtime::Session before = s;
  Window w;
  w.type_count("20000");
  w.ui.cancel_progress_after = 3;  // the user presses Cancel at the third report
  const std::string text = testing::error_message([&] { permute(w.ui, s, seeded(1, 2)); });
  EXPECT_EQ(text.rfind("The permutation test was cancelled after ", 0), 0u) << text;
  EXPECT_NE(text.find(" of 20000 relabellings; nothing was written."), std::string::npos);
  EXPECT_EQ(w.results(), "earlier results");
  expect_same_session(s, before);
  ASSERT_EQ(w.ui.progress_runs.size(), 1u);
  const runtime::headless::ProgressRecord& run = w.ui.progress_runs[0];
  EXPECT_EQ(run.title, "Permutation test");
  ASSERT_EQ(run.updates.size(), 3u);  // reports stop with the cancel
  EXPECT_LT(run.updates.back().first, 20000u);
  EXPECT_TRUE(run.ended);  // the display was closed
  EXPECT_TRUE(w.ui.message_boxes.empty());

  // The caller's own flag (the batch tool's Ctrl-C) stops a run the window
  // watches just as well.
  w.ui.cancel_progress_after.reset();
  std::atomic<bool> stop{true};
  PermuteSettings stopped = seeded(1, 2);
  stopped.cancel = &stop;
  EXPECT_THROW(permute(w.ui, s, stopped), runtime::Cancelled);
  EXPECT_EQ(w.results(), "earlier results");
  expect_same_session(s, before);

  // The window stays usable: the next run completes and stores its matrix.
  w.ui.cancel_progress_after.reset();
  w.type_count("10");
  EXPECT_TRUE(permute(w.ui, s, seeded(1, 2)).done());
  EXPECT_EQ(s.dmatrix, geometry::allpairwiseprocrustes(s.data));
}

TEST(PermuteProgress, ReachesTheTotalAndGivesTheResultOfAnUnwatchedRun) {
  runtime::Session s = balanced_study(3, 2, 2, 6, 7).session;
  Window w;
  w.type_count("3000");
  const PermuteOutcome watched = permute(w.ui, s, seeded(42, 2));
  ASSERT_TRUE(watched.done());
  ASSERT_EQ(w.ui.progress_runs.size(), 1u);
  const auto& updates = w.ui.progress_runs[0].updates;
  ASSERT_FALSE(updates.empty());
  EXPECT_EQ(updates.back(), std::make_pair(std::size_t{3000}, std::size_t{3000}));
  for (std::size_t i = 0; i < updates.size(); ++i) {
    EXPECT_EQ(updates[i].second, 3000u);
    if (i > 0) {
      EXPECT_GE(updates[i].first, updates[i - 1].first);
    }
  }
  EXPECT_TRUE(w.ui.progress_runs[0].ended);

  // A run with its own progress hook asks the window for no display.
  PermuteSettings unwatched = seeded(42, 1);
  unwatched.progress = [](std::size_t, std::size_t) {};
  const PermuteOutcome plain = permute(w.ui, s, unwatched);
  EXPECT_EQ(w.ui.progress_runs.size(), 1u);
  EXPECT_EQ(plain.report, watched.report);
  EXPECT_EQ(plain.test.counts.exceedances, watched.test.counts.exceedances);
  EXPECT_EQ(plain.test.counts.ev_exceedances, watched.test.counts.ev_exceedances);
  EXPECT_EQ(w.results(), watched.report);
}

}  // namespace
}  // namespace lumivar::permutation
