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

// Runs `waves(wave_done)` on a helper thread and reports to `progress` on the
// calling thread: (next, total) at each wave's end, and (relabellings `done`
// so far, total) every 0.1 s while that is below `total`. The caller's
// `cancel` flag, and a failure of the hook, raise `halt`, which the waves
// watch; a failure of the hook is raised again once the helper has ended, as
// is one of the waves.
void run_reported_waves(const ProgressHook& progress, const std::atomic<bool>* cancel,
                        std::uint64_t total, const std::atomic<std::uint64_t>& done,
                        std::atomic<bool>& halt, const std::function<void(const WaveDone&)>& waves);

}  // namespace lumivar::permutation
