// Runs whose single relabelling takes long (the reference engine on a large
// distance matrix): the caller keeps hearing progress while a relabelling
// runs, a cancel reaches into it, and the counts do not depend on any of it.
#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "permutation/fitted_study.h"
#include "permutation/permutation_counts.h"
#include "permutation/permutation_engine.h"
#include "permutation/stuck_engine.h"
#include "runtime/error.h"

namespace lumivar::permutation {
namespace {

using Fitted = testing::FittedStudy;
using testing::run_plan;

TEST(LongRelabellings, ProgressAndCancelReachIntoARelabelling) {
  const Fitted f(testing::balanced_study(2, 2, 2, 4, 3));
  const auto fast = make_engine(Engine::kFast, f.data());
  // The cap stands for a relabelling of minutes: a run that reported only
  // between relabellings would hear nothing until it passed.
  const testing::StuckEngine stuck(*fast, std::chrono::seconds(20));
  RunPlan plan = run_plan(50, 7, 2);
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
  const testing::StuckEngine stuck(*fast, std::chrono::seconds(20));
  RunPlan plan = run_plan(50, 7, 2);
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
    RunPlan quiet = run_plan(403, 7, 2);
    quiet.keep_f_values = true;
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
