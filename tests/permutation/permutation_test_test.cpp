// The window-free permutation test: the plan made from the settings, and
// the one result the action, the batch tool and the views share.
#include "permutation/permutation_test.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "geometry/allpairwiseprocrustes.h"
#include "permutation/design_fixtures.h"
#include "runtime/threads.h"

namespace lumivar::permutation {
namespace {

TEST(RunPlan, ResolvesTheSeedTheThreadsAndTheFValuesKept) {
  PermuteSettings settings;
  settings.seed = 18446744073709551615ull;
  settings.threads = 1;
  settings.keep_f_values = true;
  const RunPlan given = run_plan(settings, 999);
  EXPECT_EQ(given.nperm, 999u);
  EXPECT_EQ(given.seed, 18446744073709551615ull);
  EXPECT_EQ(given.threads, 1);
  EXPECT_TRUE(given.keep_f_values);

  // No seed: each plan draws its own. No thread count: all the cores there are.
  settings.seed.reset();
  settings.threads = 0;
  EXPECT_NE(run_plan(settings, 9).seed, run_plan(settings, 9).seed);
  EXPECT_EQ(run_plan(settings, 9).threads, runtime::worker_threads(0));
  EXPECT_GE(run_plan(settings, 9).threads, 1);

  // F values are kept up to the cap only, and only when asked for.
  EXPECT_TRUE(run_plan(settings, kMaxKeptFValues).keep_f_values);
  EXPECT_FALSE(run_plan(settings, kMaxKeptFValues + 1).keep_f_values);
  settings.keep_f_values = false;
  EXPECT_FALSE(run_plan(settings, 9).keep_f_values);
}

TEST(RunPermutationTest, PValuesFromTheCountsAndNoneForAnUndefinedF) {
  const testing::StudyDesign d = testing::balanced_study(3, 2, 2, 6, 7);
  const geometry::ProcrustesDistances fit = geometry::procrustes_distances(d.session.data, 1);
  const DesignData design{fit.xpt, fit.d, d.session.group, d.session.repgroup, d.sizes};
  partition::Partition observed =
      partition::compute_partition(fit.d, d.session.group, d.session.repgroup, d.sizes);
  observed.effects[partition::kG2].f = std::numeric_limits<double>::infinity();

  PermuteSettings settings;
  settings.seed = 5;
  settings.threads = 2;
  settings.engine = Engine::kReference;
  settings.keep_f_values = true;
  std::size_t reports = 0;
  settings.progress = [&](std::size_t, std::size_t) { ++reports; };
  const PermutationTest t = run_permutation_test(design, observed, 199, settings);

  EXPECT_EQ(t.engine, Engine::kReference);
  EXPECT_EQ(t.plan.seed, 5u);
  EXPECT_EQ(t.plan.nperm, 199u);
  EXPECT_EQ(t.plan.threads, runtime::worker_threads(2));
  EXPECT_FALSE(t.plan.progress);  // the result keeps no hooks into the caller
  EXPECT_GT(reports, 0u);
  EXPECT_EQ(t.counts.f_values.size(), 199u);
  // The same relabellings as the counts alone give.
  EXPECT_EQ(t.counts.exceedances,
            permutation_counts(*make_engine(Engine::kFast, design), d.sizes, t.plan).exceedances);
  for (int k = 0; k < partition::kEffectCount; ++k) {
    SCOPED_TRACE(partition::kEffectLabels[k]);
    if (k == partition::kG2) {
      EXPECT_TRUE(std::isnan(t.p_perm_f[k]));
      EXPECT_TRUE(std::isnan(t.p_perm_ss[k]));
    } else {
      EXPECT_EQ(t.p_perm_f[k], static_cast<double>(t.counts.exceedances[k]) / 200);
      EXPECT_EQ(t.p_perm_ss[k], static_cast<double>(t.counts.ev_exceedances[k]) / 200);
    }
  }
}

}  // namespace
}  // namespace lumivar::permutation
