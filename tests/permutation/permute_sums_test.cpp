// "Permute" with its observed sums from the coordinates instead of the
// distance matrix.
#include <gtest/gtest.h>

#include "permutation/design_fixtures.h"
#include "permutation/permute.h"
#include "runtime/headless/headless_runtime.h"
#include "runtime/layout.h"

namespace lumivar::permutation {
namespace {

using partition::SumsMethod;

struct Results {
  Results() { runtime::build_layout(ui, R"({"Figure": {}, "Controls": [{"Tag": "ResBox", "String": "old"}]})", "t"); }
  std::string text() const { return ui.get(ui.find_by_tag("ResBox").front(), "String").text(); }
  runtime::headless::HeadlessRuntime ui;
};

PermuteSettings settings(SumsMethod sums, Engine engine = Engine::kFast, int threads = 2) {
  PermuteSettings s;
  s.seed = 11;
  s.threads = threads;
  s.engine = engine;
  s.sums = sums;
  return s;
}

// Same seed: the same counts and the same text by either way to the sums.
// (Unbalanced designs and NaN codes are refused before either way runs; the
// sums themselves agree on them too, see sums_from_coordinates_test.)
TEST(PermuteSums, CoordinatesGiveTheMatrixCountsAndText) {
  std::vector<testing::StudyDesign> designs;
  designs.push_back(testing::balanced_study(3, 2, 3, 6, 4));
  designs.push_back(testing::balanced_study(2, 2, 2, 7, 5));
  for (testing::StudyDesign& d : designs) {
    Results r;
    const PermuteOutcome a = permute_count(r.ui, d.session, "300", settings(SumsMethod::kMatrix));
    const runtime::Matrix kept = d.session.dmatrix;
    const PermuteOutcome b = permute_count(r.ui, d.session, "300", settings(SumsMethod::kCoordinates, Engine::kFast, 1));
    ASSERT_TRUE(a.done() && b.done());
    EXPECT_EQ(a.sums, SumsMethod::kMatrix);
    EXPECT_EQ(b.sums, SumsMethod::kCoordinates);
    EXPECT_EQ(kept.rows(), d.session.data.rows());
    EXPECT_TRUE(d.session.dmatrix.empty());
    EXPECT_EQ(a.test.counts.exceedances, b.test.counts.exceedances);
    EXPECT_EQ(a.test.counts.ev_exceedances, b.test.counts.ev_exceedances);
    EXPECT_EQ(a.report, b.report);
    EXPECT_EQ(r.text(), b.report);
  }
}

TEST(PermuteSums, TheReferenceEngineIsRefusedWithoutTheMatrixAndGetsItUnderAuto) {
  testing::StudyDesign d = testing::balanced_study(2, 2, 2);
  d.session.dmatrix = runtime::Matrix::scalar(0);
  Results r;
  const PermuteOutcome refused =
      permute_count(r.ui, d.session, "10", settings(SumsMethod::kCoordinates, Engine::kReference));
  EXPECT_FALSE(refused.done());
  EXPECT_EQ(refused.refusal,
            "The reference engine reads the distance matrix, which is not built when the sums "
            "come from the coordinates. Take the sums through the matrix, or use the fast "
            "engine.");
  ASSERT_EQ(r.ui.message_boxes.size(), 1u);
  EXPECT_EQ(r.text(), "old");
  EXPECT_EQ(d.session.dmatrix.numel(), 1u);  // nothing changed

  const PermuteOutcome ran = permute_count(r.ui, d.session, "10", settings(SumsMethod::kAuto, Engine::kReference));
  ASSERT_TRUE(ran.done());
  EXPECT_EQ(ran.sums, SumsMethod::kMatrix);
  EXPECT_EQ(d.session.dmatrix.rows(), 16u);
}

}  // namespace
}  // namespace lumivar::permutation
