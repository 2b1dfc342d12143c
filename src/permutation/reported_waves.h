#pragma once
// Relabellings that run in waves while the caller keeps hearing progress:
// the waves run on a helper thread, and the calling thread reports progress
// at the end of every wave (the helper waits for that, so a cancel raised by
// the hook is heard before the next wave, as in a run on one thread) and
// every 0.1 s in between. A window that hears Cancel in its progress hook so
// hears it within a second even when one relabelling takes many seconds.
#include <atomic>
#include <cstdint>
#include <functional>

#include "permutation/permute_settings.h"

namespace lumivar::permutation {

// Called by the waves after each one: relabellings 0 .. next - 1 are done.
// Returns once the calling thread has reported it.
using WaveDone = std::function<void(std::uint64_t next)>;

// How one run of relabellings hears its plan's progress hook and cancel flag.
// With a hook and relabellings to run, the waves run on a helper thread and
// report to the hook on the calling thread: (next, nperm) at each wave's end,
// and (relabellings `done` so far, nperm) every 0.1 s while that is below
// nperm. The plan's cancel flag, and a failure of the hook, raise a flag of
// the run's own, which the waves watch; a failure of the hook is raised again
// once the helper has ended, as is one of the waves. Without a hook the waves
// run on the calling thread and watch the plan's flag itself.
class ReportedWaves {
 public:
  explicit ReportedWaves(const RunPlan& plan);
  ReportedWaves(const ReportedWaves&) = delete;
  ReportedWaves& operator=(const ReportedWaves&) = delete;

  // The flag the waves (and workers that listen within a relabelling) watch.
  const std::atomic<bool>* cancel() const { return heard_; }
  bool cancelled() const { return heard_ != nullptr && heard_->load(std::memory_order_relaxed); }

  // Runs `waves(wave_done)`; wave_done is empty without a hook.
  void run(const std::atomic<std::uint64_t>& done, const std::function<void(const WaveDone&)>& waves);

 private:
  const RunPlan& plan_;
  bool helper_;
  std::atomic<bool> halt_{false};
  const std::atomic<bool>* heard_;
};

}  // namespace lumivar::permutation
