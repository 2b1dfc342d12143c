#pragma once
// How a "Permute" run is carried out (none of it changes the counts for a
// given seed), and the plan a run of relabellings follows, made from it.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "partition/sums_method.h"
#include "runtime/progress_monitor.h"

namespace lumivar::permutation {

enum class Engine {
  kFast,       // within sums from the centred superimposed coordinates, O(m p) per relabelling
  kReference,  // every within sum by getssgroup over the distance matrix, O(m^2)
};

// Runs of more relabellings than this keep no F values even when asked
// (7 doubles each: 112 MB at this count), so that asking never makes a run
// fail for want of memory.
inline constexpr std::uint64_t kMaxKeptFValues = 2'000'000;

using ProgressHook = std::function<void(std::size_t done, std::size_t total)>;

struct PermuteSettings {
  std::optional<std::uint64_t> seed;  // none: a fresh seed from the system's entropy
  int threads = 0;                    // 0: all cores
  Engine engine = Engine::kFast;
  // Called now and then with the number of relabellings done and the total,
  // from the thread that started the run.
  ProgressHook progress;
  // When set and raised, the run stops early and raises runtime::Cancelled;
  // nothing is written.
  const std::atomic<bool>* cancel = nullptr;
  // Keep every relabelling's seven F ratios (for the distribution plots).
  bool keep_f_values = false;
  // The way to the observed sums. The fast engine never reads the distance
  // matrix; the reference engine needs it, so "auto" builds it for that
  // engine whenever it fits, and the coordinates are refused with it.
  partition::SumsMethod sums = partition::SumsMethod::kAuto;
  // Called after every pass of the superimposition (see getconsensus).
  std::function<void(int iteration, double change)> superimposition_progress;
  // Hears the distance matrix being filled, when the sums take it; false cancels.
  std::function<bool(std::size_t done, std::size_t total)> matrix_progress;
  // Runs the superimposition and the observed sums (see partition::SumsSettings).
  runtime::StepRunner beside;
};

// One run of relabellings 0 .. nperm - 1: the permutation counts and the
// tests by strata both follow it. nperm, seed and threads say how the run
// was made (the counts depend on the first two only); the hooks watch it.
struct RunPlan {
  std::uint64_t nperm = 0;
  std::uint64_t seed = 0;
  int threads = 1;  // at least 1
  // Called from the calling thread between waves of relabellings, the last
  // time with done = total.
  ProgressHook progress;
  // When raised, the run stops between relabellings and raises runtime::Cancelled.
  const std::atomic<bool>* cancel = nullptr;
  bool keep_f_values = false;  // the permutation counts keep each relabelling's F ratios
};

// The plan of `nperm` relabellings under `settings`: the seed given or a
// fresh one from the system, the threads asked capped at the cores
// available (all for 0), F values kept only when asked and at most
// kMaxKeptFValues relabellings.
RunPlan run_plan(const PermuteSettings& settings, std::uint64_t nperm);

}  // namespace lumivar::permutation
