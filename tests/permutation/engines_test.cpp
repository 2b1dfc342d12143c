// The two engines against each other and against the observed partition.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "geometry/allpairwiseprocrustes.h"
#include "permutation/design_fixtures.h"
#include "permutation/fitted_study.h"
#include "permutation/permutation_counts.h"
#include "permutation/permutation_engine.h"
#include "runtime/error.h"

namespace lumivar::permutation {
namespace {

using testing::StudyDesign;
using testing::balanced_study;
using testing::study;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using testing::run_plan;

struct Fitted : testing::FittedStudy {
  using FittedStudy::FittedStudy;
  Counts count(Engine kind, const RunPlan& p) const {
    return permutation_counts(*make_engine(kind, data()), design.sizes, p);
  }
};

// Measurement codes 1 for the first mg rows and 2 for the rest.
std::vector<double> halves(std::size_t mg) {
  std::vector<double> t(2 * mg, 2.0);
  std::fill(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(mg), 1.0);
  return t;
}

// Designs where many relabellings split the rows as the observed labelling
// does (ties), and designs with codes that a crossing by arithmetic on the
// codes would get wrong.
std::vector<std::pair<const char*, StudyDesign>> battery() {
  std::vector<std::pair<const char*, StudyDesign>> out;
  out.emplace_back("one specimen per cell", balanced_study(2, 2, 1, 4, 11));
  out.emplace_back("two G1 groups of two", balanced_study(2, 1, 2, 3, 12));
  out.emplace_back("two per cell", balanced_study(2, 2, 2, 5, 13));
  out.emplace_back("3 x 2, two per cell", balanced_study(3, 2, 2, 6, 14));
  // 0 * (0 + 1) + 0 and 1 * (0 + 1) - 1 collide: a * (max b + 1) + b would
  // put the G1xG2 cells (0, 0) and (1, -1) together.
  out.emplace_back("colliding crossed codes",
                   study({0, 0, 1, 1, 0, 0, 1, 1}, {-1, 0, -1, 0, -1, 0, -1, 0}, halves(8), 2, 2,
                         4, 15));
  out.emplace_back("fractional and negative codes",
                   study({0.5, 2.5, 0.5, 2.5, 0.5, 2.5}, {-7, -7, 3, 3, -7, 3},
                         {5, 5, 5, 5, 5, 5, -3, -3, -3, -3, -3, -3}, 2, 2, 5, 16));
  // Specimens measured (1, 2), (1, 1), (2, 1), (1, 2), (2, 1), (2, 2): the
  // crossed cells that occur change from one relabelling to the next.
  out.emplace_back("both measurements with one code",
                   study({1, 2, 1, 2, 1, 2}, {1, 1, 2, 2, 3, 3}, {1, 1, 2, 1, 2, 2, 2, 1, 1, 2, 1, 2},
                         2, 3, 4, 17));
  // Measurement codes 0 and -1, one specimen with G2 code 1: the largest
  // G2xT code is 0 or 1 depending on where that specimen lands, so a
  // crossing by arithmetic would merge different cells for each.
  out.emplace_back("crossing that depends on the relabelling",
                   study({0, 1, 0, 1, 0, 1}, {0, 0, 0, 0, 0, 1},
                         {0, 0, -1, -1, 0, -1, -1, 0, -1, 0, -1, 0}, 2, 2, 4, 19));
  out.emplace_back("a missing code", study({1, 2, 1, 2, 1, 2, 1, 2}, {1, 1, 2, 2, 1, kNaN, 2, 2},
                                           halves(8), 2, 2, 4, 18));
  return out;
}

TEST(PermutationEngines, GiveIdenticalCountsOnEveryDesign) {
  for (auto& [name, d] : battery()) {
    SCOPED_TRACE(name);
    const Fitted f(d);
    const RunPlan plan = run_plan(400, 99);
    const Counts reference = f.count(Engine::kReference, plan);
    const Counts fast = f.count(Engine::kFast, plan);
    EXPECT_EQ(reference.exceedances, fast.exceedances);
    EXPECT_EQ(reference.ev_exceedances, fast.ev_exceedances);
  }
}

TEST(PermutationEngines, ObservedSumsMatchThePartition) {
  for (auto& [name, d] : battery()) {
    SCOPED_TRACE(name);
    const Fitted f(d);
    const partition::Partition p = partition::compute_partition(
        f.fit.d, d.session.group, d.session.repgroup, d.sizes);
    const Relabelling id = identity_relabelling(d.session.group.rows());
    const WithinSums& observed = p.within;
    const WithinSums reference = make_engine(Engine::kReference, f.data())->make_worker()->within_sums(id);
    const auto fast_engine = make_engine(Engine::kFast, f.data());
    const WithinSums fast = fast_engine->make_worker()->within_sums(id);
    // The reference engine is the partition's own arithmetic: exactly equal.
    EXPECT_EQ(reference, observed);
    // The fast engine takes another route: equal to a few hundred rounding
    // errors of the total, which bounds the cancellation in n sum x^2 - (sum x)^2.
    for (int k = 0; k < 7; ++k) EXPECT_NEAR(fast[k], observed[k], 256 * 2.2e-16 * p.sstotal) << k;
    EXPECT_NEAR(fast_engine->sstotal(), p.sstotal, 64 * 2.2e-16 * p.sstotal);
  }
}

TEST(PermutationEngines, SamePartitionGivesBitIdenticalSumsAndCountsEverySum) {
  // 2 x 2 cells, two specimens each: slots 0-3 are cells (1,1) (1,2) (2,1)
  // (2,2), slots 4-7 the same again.
  const Fitted f(balanced_study(2, 2, 2, 5, 21));
  const StudyDesign& d = f.design;
  Relabelling all_exchanged = identity_relabelling(8);  // T codes trade places everywhere
  all_exchanged.swap.assign(8, 1);
  Relabelling same_cell = identity_relabelling(8);       // two specimens of one cell trade
  std::swap(same_cell.order[1], same_cell.order[5]);
  Relabelling g1_renamed = identity_relabelling(8);      // G1 groups 1 and 2 trade names
  g1_renamed.order = {2, 3, 0, 1, 6, 7, 4, 5};
  g1_renamed.swap.assign(8, 1);

  for (Engine kind : {Engine::kReference, Engine::kFast}) {
    SCOPED_TRACE(kind == Engine::kFast ? "fast" : "reference");
    const auto engine = make_engine(kind, f.data());
    const auto worker = engine->make_worker();
    const Statistics observed = statistics(engine->sstotal(), worker->within_sums(identity_relabelling(8)), d.sizes);
    for (const Relabelling* r : {&all_exchanged, &same_cell, &g1_renamed}) {
      const Statistics s = statistics(engine->sstotal(), worker->within_sums(*r), d.sizes);
      EXPECT_EQ(s.within, observed.within);
      Counts c;
      tally(observed, s, engine->sstotal(), c);
      EXPECT_EQ(c.ev_exceedances, (std::array<std::uint64_t, 7>{1, 1, 1, 1, 1, 1, 1}));
      EXPECT_EQ(c.exceedances, (std::array<std::uint64_t, 7>{}));
    }
  }
}

TEST(PermutationEngines, TinyDesignsProduceTies) {
  // Guards the battery: in the smallest designs many random relabellings
  // reproduce the observed split, so the equality of the counts above
  // really covers ties.
  const Fitted f(balanced_study(2, 1, 2, 3, 12));
  const auto engine = make_engine(Engine::kFast, f.data());
  const auto worker = engine->make_worker();
  const WithinSums observed = worker->within_sums(identity_relabelling(4));
  int ties = 0;
  Relabelling r;
  for (std::uint64_t i = 0; i < 200; ++i) {
    draw_relabelling(5, i, 4, r);
    if (worker->within_sums(r)[partition::kG1] == observed[partition::kG1]) ++ties;
  }
  EXPECT_GT(ties, 20);  // a third of the orderings keep both G1 groups together
}

// Counts of both tests over the relabellings `each` hands out, by the tie
// rule and, for comparison, by plain comparisons of the doubles.
struct TwoWays {
  Counts tied, plain;
};

template <class Each>
TwoWays count_all(const PermutationEngine& engine, const partition::DesignSizes& sizes, Each each) {
  const auto worker = engine.make_worker();
  const Statistics observed =
      statistics(engine.sstotal(), worker->within_sums(identity_relabelling(engine.specimens())), sizes);
  TwoWays c;
  each([&](const Relabelling& r) {
    const Statistics s = statistics(engine.sstotal(), worker->within_sums(r), sizes);
    tally(observed, s, engine.sstotal(), c.tied);
    for (int k = 0; k < kEffectCount; ++k) {
      c.plain.ev_exceedances[k] += s.within[k] <= observed.within[k];
      c.plain.exceedances[k] += s.f[k] > observed.f[k];
    }
  });
  return c;
}

// Row r repeats the landmarks of row r mod `shapes`: few distinct shapes, so
// that many relabellings split the rows differently into groups of exactly
// equal spread, whose sums differ only by rounding (symmetric designs).
StudyDesign few_shapes(StudyDesign d, std::size_t shapes) {
  runtime::Matrix& x = d.session.data;
  for (std::size_t r = shapes + 1; r <= x.rows(); ++r)
    for (std::size_t c = 1; c <= x.cols(); ++c) x(r, c) = x((r - 1) % shapes + 1, c);
  return d;
}

TEST(PermutationEngines, IdenticalCountsOverEveryRelabellingOfSmallDesigns) {
  // All orderings of the specimens times all exchanges of their two
  // measurements: 384 or 46,080 relabellings, many of them ties.
  bool plain_comparisons_disagree = false;
  for (auto [n1g, per_cell, shapes] : {std::tuple{2, 2, 3}, std::tuple{2, 2, 8}, std::tuple{3, 2, 5},
                                       std::tuple{2, 3, 5}, std::tuple{2, 3, 12}}) {
    SCOPED_TRACE(n1g * 100 + per_cell * 10 + shapes);
    const Fitted f(few_shapes(balanced_study(n1g, 1, per_cell, 4, 60 + shapes), shapes));
    const std::size_t mg = f.design.session.group.rows();
    const auto every = [mg](const auto& use) {
      Relabelling r = identity_relabelling(mg);
      do {
        for (std::uint32_t mask = 0; mask < (1u << mg); ++mask) {
          for (std::size_t j = 0; j < mg; ++j) r.swap[j] = (mask >> j) & 1u;
          use(r);
        }
      } while (std::next_permutation(r.order.begin(), r.order.end()));
    };
    const TwoWays reference = count_all(*make_engine(Engine::kReference, f.data()), f.design.sizes, every);
    const TwoWays fast = count_all(*make_engine(Engine::kFast, f.data()), f.design.sizes, every);
    EXPECT_EQ(reference.tied.exceedances, fast.tied.exceedances);
    EXPECT_EQ(reference.tied.ev_exceedances, fast.tied.ev_exceedances);
    // Every relabelling that keeps the G1 groups together ties on G1: the
    // identity's share of the orderings, whatever the exchanges.
    const std::uint64_t total = reference.tied.ev_exceedances[partition::kG1];
    EXPECT_GT(total, 1u << mg);
    plain_comparisons_disagree |= reference.plain.exceedances != fast.plain.exceedances ||
                                  reference.plain.ev_exceedances != fast.plain.ev_exceedances;
  }
  // Guards the test: deciding ties by rounding noise makes the engines differ.
  EXPECT_TRUE(plain_comparisons_disagree);
}

TEST(PermutationEngines, IdenticalCountsOnSmallSymmetricDesignsForManySeeds) {
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE(seed);
    // 8 specimens, G1 2 x G2 2, and 5 distinct shapes among the 16 rows.
    const Fitted f(few_shapes(balanced_study(2, 2, 2, 5, 100 + seed), 5));
    const RunPlan plan = run_plan(2000, seed);
    const Counts reference = f.count(Engine::kReference, plan);
    const Counts fast = f.count(Engine::kFast, plan);
    EXPECT_EQ(reference.exceedances, fast.exceedances);
    EXPECT_EQ(reference.ev_exceedances, fast.ev_exceedances);
  }
}

TEST(PermutationCounts, SameForAnyNumberOfThreads) {
  const Fitted f(balanced_study(3, 2, 3, 5, 31));
  RunPlan plan = run_plan(517, 4);
  plan.keep_f_values = true;
  const auto engine = make_engine(Engine::kFast, f.data());
  plan.threads = 1;
  const Counts one = permutation_counts(*engine, f.design.sizes, plan);
  for (int threads : {2, 7}) {
    plan.threads = threads;
    const Counts many = permutation_counts(*engine, f.design.sizes, plan);
    EXPECT_EQ(many.exceedances, one.exceedances);
    EXPECT_EQ(many.ev_exceedances, one.ev_exceedances);
    ASSERT_EQ(many.f_values.size(), 517u);
    EXPECT_EQ(0, std::memcmp(many.f_values.data(), one.f_values.data(), 517 * sizeof(Effects)));
  }
}

TEST(PermutationCounts, ProgressOnTheCallingThreadAndCancel) {
  const Fitted f(balanced_study(2, 2, 3, 4, 51));
  const auto engine = make_engine(Engine::kFast, f.data());
  RunPlan plan = run_plan(3000, 1, 2);
  const auto caller = std::this_thread::get_id();
  std::vector<std::size_t> seen;
  bool other_thread = false;
  plan.progress = [&](std::size_t done, std::size_t total) {
    other_thread |= std::this_thread::get_id() != caller;
    EXPECT_EQ(total, 3000u);
    seen.push_back(done);
  };
  permutation_counts(*engine, f.design.sizes, plan);
  EXPECT_FALSE(other_thread);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 3000u);

  // Raised from the progress callback: the run stops early and raises.
  std::atomic<bool> cancel{false};
  plan.cancel = &cancel;
  std::size_t last = 0;
  plan.progress = [&](std::size_t done, std::size_t) {
    last = done;
    cancel = true;
  };
  EXPECT_THROW(permutation_counts(*engine, f.design.sizes, plan), runtime::Cancelled);
  EXPECT_LT(last, 3000u);
}

}  // namespace
}  // namespace lumivar::permutation
