#include "permutation/permute_settings.h"

#include <random>

#include "runtime/threads.h"

namespace lumivar::permutation {

namespace {

std::uint64_t system_seed() {
  std::random_device rd;
  return (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
}

}  // namespace

RunPlan run_plan(const PermuteSettings& settings, std::uint64_t nperm) {
  RunPlan plan;
  plan.nperm = nperm;
  plan.seed = settings.seed ? *settings.seed : system_seed();
  plan.threads = runtime::worker_threads(settings.threads);
  plan.progress = settings.progress;
  plan.cancel = settings.cancel;
  plan.keep_f_values = settings.keep_f_values && nperm <= kMaxKeptFValues;
  return plan;
}

}  // namespace lumivar::permutation
