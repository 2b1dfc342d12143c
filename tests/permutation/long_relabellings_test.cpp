// Runs whose single relabelling takes long (the reference engine on a large
// distance matrix): the caller keeps hearing progress while a relabelling
// runs, a cancel reaches into it, and the counts do not depend on any of it.
#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "geometry/allpairwiseprocrustes.h"
#include "permutation/design_fixtures.h"
#include "permutation/permutation_counts.h"
#include "permutation/permutation_engine.h"
#include "runtime/error.h"

namespace lumivar::permutation {
namespace {

struct Fitted {
  explicit Fitted(testing::StudyDesign d)
      : design(std::move(d)), fit(geometry::procrustes_distances(design.session.data, 1)) {}
  DesignData data() const {
    return {fit.xpt, fit.d, design.session.group, design.session.repgroup, design.sizes};
  }
  testing::StudyDesign design;
  geometry::ProcrustesDistances fit;
};

// An engine whose relabellings (all but the observed one) never finish on
// their own within `cap`: they end early only when the worker's cancel flag is
// raised, and say so in `heard`.
class StuckEngine : public PermutationEngine {
 public:
  StuckEngine(const PermutationEngine& inner, std::chrono::seconds cap) : inner_(inner), cap_(cap) {}
  double sstotal() const override { return inner_.sstotal(); }
  std::size_t specimens() const override { return inner_.specimens(); }
  std::unique_ptr<Worker> make_worker() const override { return inner_.make_worker(); }
  std::unique_ptr<Worker> make_cancellable_worker(const std::atomic<bool>* cancel) const override {
    return std::make_unique<StuckWorker>(*this, cancel);
  }
  mutable std::atomic<int> heard{0};

 private:
  class StuckWorker : public Worker {
   public:
    StuckWorker(const StuckEngine& e, const std::atomic<bool>* cancel)
        : e_(e), cancel_(cancel), inner_(e.inner_.make_worker()) {}
    WithinSums within_sums(const Relabelling& r) override {
      const auto until = std::chrono::steady_clock::now() + e_.cap_;
      while (std::chrono::steady_clock::now() < until) {
        if (cancel_ != nullptr && cancel_->load()) {
          ++e_.heard;
          runtime::raise_cancelled("stopped inside a relabelling");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      return inner_->within_sums(r);
    }

   private:
    const StuckEngine& e_;
    const std::atomic<bool>* cancel_;
    std::unique_ptr<Worker> inner_;
  };
  const PermutationEngine& inner_;
  std::chrono::seconds cap_;
};

RunPlan plan_of(std::uint64_t nperm, int threads, bool keep = false) {
  RunPlan p;
  p.nperm = nperm;
  p.seed = 7;
  p.threads = threads;
  p.keep_f_values = keep;
  return p;
}

TEST(LongRelabellings, ProgressAndCancelReachIntoARelabelling) {
  const Fitted f(testing::balanced_study(2, 2, 2, 4, 3));
  const auto fast = make_engine(Engine::kFast, f.data());
  // The cap stands for a relabelling of minutes: a run that reported only
  // between relabellings would hear nothing until it passed.
  const StuckEngine stuck(*fast, std::chrono::seconds(20));
  RunPlan plan = plan_of(50, 2);
  std::atomic<bool> cancel{false};
  plan.cancel = &cancel;
  const auto caller = std::this_thread::get_id();
  std::size_t calls = 0;
  bool on_caller = true;
  plan.progress = [&](std::size_t done, std::size_t total) {
    on_caller &= std::this_thread::get_id() == caller;
    EXPECT_EQ(total, 50u);
    EXPECT_EQ(done, 0u);  // nothing can have finished
    if (++calls == 3) cancel = true;
  };
  EXPECT_THROW(permutation_counts(stuck, f.design.sizes, plan), runtime::Cancelled);
  EXPECT_EQ(calls, 3u);  // no report after the cancel
  EXPECT_TRUE(on_caller);
  EXPECT_GE(stuck.heard.load(), 1);  // stopped inside, not after, a relabelling
}

TEST(LongRelabellings, AFailingProgressHookStopsTheRunAndPropagates) {
  const Fitted f(testing::balanced_study(2, 2, 2, 4, 3));
  const auto fast = make_engine(Engine::kFast, f.data());
  const StuckEngine stuck(*fast, std::chrono::seconds(20));
  RunPlan plan = plan_of(50, 2);
  plan.progress = [](std::size_t, std::size_t) { throw std::runtime_error("display gone"); };
  EXPECT_THROW(permutation_counts(stuck, f.design.sizes, plan), std::runtime_error);
  EXPECT_GE(stuck.heard.load(), 1);
}

TEST(LongRelabellings, ReferenceWorkerHearsTheFlagWithinASum) {
  const Fitted f(testing::balanced_study(3, 2, 3, 5, 9));
  const auto engine = make_engine(Engine::kReference, f.data());
  const Relabelling r = identity_relabelling(engine->specimens());
  std::atomic<bool> cancel{false};
  const auto listening = engine->make_cancellable_worker(&cancel);
  const WithinSums plain = engine->make_worker()->within_sums(r);
  const WithinSums quiet = listening->within_sums(r);
  EXPECT_EQ(0, std::memcmp(plain.data(), quiet.data(), sizeof(WithinSums)));
  cancel = true;
  EXPECT_THROW(listening->within_sums(r), runtime::Cancelled);
}

TEST(LongRelabellings, CountsDoNotDependOnTheProgressHook) {
  const Fitted f(testing::balanced_study(2, 3, 3, 5, 21));
  for (const Engine kind : {Engine::kReference, Engine::kFast}) {
    const auto engine = make_engine(kind, f.data());
    const RunPlan quiet = plan_of(403, 2, true);
    RunPlan watched = quiet;
    std::size_t last = 0;
    watched.progress = [&](std::size_t done, std::size_t) { last = done; };
    const Counts a = permutation_counts(*engine, f.design.sizes, quiet);
    const Counts b = permutation_counts(*engine, f.design.sizes, watched);
    EXPECT_EQ(last, 403u);
    EXPECT_EQ(a.exceedances, b.exceedances);
    EXPECT_EQ(a.ev_exceedances, b.ev_exceedances);
    ASSERT_EQ(b.f_values.size(), 403u);
    EXPECT_EQ(0, std::memcmp(a.f_values.data(), b.f_values.data(), 403 * sizeof(Effects)));
  }
}

}  // namespace
}  // namespace lumivar::permutation
