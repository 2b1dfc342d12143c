#include "permutation/permutation_counts.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <tbb/blocked_range.h>
#include <tbb/enumerable_thread_specific.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include "permutation/ties.h"
#include "runtime/error.h"

namespace lumivar::permutation {

Statistics statistics(double sstotal, const WithinSums& w, const partition::DesignSizes& sizes) {
  const partition::CleanSums sums = partition::clean_sums(sizes.m, sstotal, w);
  Statistics s;
  s.within = w;
  s.ss = sums.ss;
  s.error = sums.error;
  s.f = partition::f_ratios(s.ss, s.error, sizes);
  return s;
}

void tally(const Statistics& observed, const Statistics& relabelled, double sstotal,
           Counts& counts) {
  for (int k = 0; k < kEffectCount; ++k) {
    // An effect that explains nothing is reached by every relabelling, in
    // both tests: no F is below its F of 0, and whatever the crossed
    // grouping of an interaction explains, the row's own effect is nil. Its
    // P values are therefore 1, never the smallest a run can give.
    if (observed.ss[k] == 0 && std::isfinite(observed.f[k])) {
      ++counts.ev_exceedances[k];
      ++counts.exceedances[k];
      continue;
    }
    if (sum_at_most(relabelled.within[k], observed.within[k], sstotal)) ++counts.ev_exceedances[k];
    if (std::isfinite(observed.f[k]) &&
        ratio_exceeds(relabelled.ss[k], relabelled.error, observed.ss[k], observed.error, sstotal))
      ++counts.exceedances[k];
  }
}

namespace {

// Relabellings run in waves: each wave is one parallel loop, and between two
// waves the calling thread reports progress. Waves are sized to take about
// this long, so that a progress display moves smoothly whatever one
// relabelling costs; the first wave (a few relabellings per thread) measures
// that cost.
constexpr double kWaveSeconds = 0.1;

std::uint64_t next_wave(std::uint64_t wave, double seconds, int threads) {
  const double scale = std::clamp(kWaveSeconds / std::max(seconds, 1e-6), 0.25, 16.0);
  return std::max<std::uint64_t>(static_cast<std::uint64_t>(static_cast<double>(wave) * scale),
                                 static_cast<std::uint64_t>(threads));
}

// The calling thread's side of a run with a progress hook: the waves run on
// a helper thread, and the caller reports progress and relays a cancel at the
// end of every wave (the helper waits for that, so a cancel raised by the
// hook is heard before the next wave, as in a run on one thread) and at least
// every kPollInterval in between, so that a window that hears Cancel in its
// progress hook hears it within a second even when a single relabelling
// takes many seconds.
constexpr std::chrono::milliseconds kPollInterval{100};

class WaveHandshake {
 public:
  // Helper thread: the wave ending at `next` is done; returns once the
  // caller has reported it.
  void wave_done(std::uint64_t next) {
    std::unique_lock lock(mutex_);
    pending_ = next;
    changed_.notify_all();
    changed_.wait(lock, [&] { return !pending_ || abandoned_; });
  }
  // Helper thread: no more waves (finished, stopped or failed).
  void finish() {
    const std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
  }
  // Caller: waits up to one poll interval. Returns the end of a finished
  // wave to report, 0 after a plain timeout, or nullopt once the helper ended.
  std::optional<std::uint64_t> wait() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, kPollInterval, [&] { return pending_.has_value() || finished_; });
    if (pending_) return pending_;
    if (finished_) return std::nullopt;
    return 0;
  }
  // Caller: the wave is reported; the helper may go on.
  void reported() {
    const std::lock_guard lock(mutex_);
    pending_.reset();
    changed_.notify_all();
  }
  // Caller: it leaves (its hook raised); the helper must not wait for it.
  void abandon() {
    const std::lock_guard lock(mutex_);
    abandoned_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<std::uint64_t> pending_;
  bool finished_ = false;
  bool abandoned_ = false;
};

}  // namespace

Counts permutation_counts(const PermutationEngine& engine, const partition::DesignSizes& sizes,
                          const RunPlan& plan) {
  const std::size_t mg = engine.specimens();
  const double sstotal = engine.sstotal();
  // Computed where the relabellings run: on a large matrix it takes as long
  // as one of them.
  Statistics observed;

  Counts counts;
  counts.exceedances.fill(1);
  counts.ev_exceedances.fill(1);
  if (plan.keep_f_values) counts.f_values.resize(plan.nperm);

  PerEffect<std::atomic<std::uint64_t>> f_hits{}, ev_hits{};
  std::atomic<std::uint64_t> done{0};
  std::atomic<bool> stopped{false};
  // With a progress hook the caller relays the cancel flag (and its own
  // failures) into `halt`; without one the workers read the flag itself.
  const bool helper = static_cast<bool>(plan.progress) && plan.nperm > 0;
  std::atomic<bool> halt{false};
  const std::atomic<bool>* heard = helper ? &halt : plan.cancel;
  const auto cancelled = [&] {
    return heard != nullptr && heard->load(std::memory_order_relaxed);
  };
  tbb::enumerable_thread_specific<std::unique_ptr<PermutationEngine::Worker>> workers(
      [&] { return engine.make_cancellable_worker(heard); });

  const auto run_chunk = [&](const tbb::blocked_range<std::uint64_t>& range) {
    if (stopped.load(std::memory_order_relaxed)) return;
    PermutationEngine::Worker& worker = *workers.local();
    Relabelling r;
    Counts local;
    for (std::uint64_t i = range.begin(); i != range.end(); ++i) {
      if (cancelled()) {
        stopped = true;
        break;
      }
      draw_relabelling(plan.seed, i, mg, r);
      Statistics s;
      try {
        s = statistics(sstotal, worker.within_sums(r), sizes);
      } catch (const runtime::Cancelled&) {
        stopped = true;  // the worker heard the flag part way through
        break;
      }
      tally(observed, s, sstotal, local);
      if (plan.keep_f_values) counts.f_values[i] = s.f;
      done.fetch_add(1, std::memory_order_relaxed);
    }
    for (int k = 0; k < kEffectCount; ++k) {
      f_hits[k] += local.exceedances[k];
      ev_hits[k] += local.ev_exceedances[k];
    }
  };

  if (cancelled() || (helper && plan.cancel != nullptr && plan.cancel->load())) stopped = true;
  const int threads = std::max(1, plan.threads);
  WaveHandshake handshake;
  const auto run_waves = [&] {
    if (stopped) return;
    try {
      observed = statistics(
          sstotal, engine.make_cancellable_worker(heard)->within_sums(identity_relabelling(mg)), sizes);
    } catch (const runtime::Cancelled&) {
      stopped = true;
      return;
    }
    tbb::task_arena arena(threads);
    std::uint64_t wave = 4 * static_cast<std::uint64_t>(threads);
    for (std::uint64_t next = 0; next < plan.nperm && !stopped;) {
      const std::uint64_t end = next + std::min(wave, plan.nperm - next);
      const auto start = std::chrono::steady_clock::now();
      arena.execute([&] {
        tbb::parallel_for(tbb::blocked_range<std::uint64_t>(next, end), run_chunk);
      });
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      next = end;
      if (helper && !stopped) handshake.wave_done(next);
      if (cancelled()) stopped = true;
      wave = next_wave(wave, took.count(), threads);
    }
  };

  if (!helper) {
    run_waves();
  } else {
    std::exception_ptr failure;
    std::thread runner([&] {
      try {
        run_waves();
      } catch (...) {
        failure = std::current_exception();
      }
      handshake.finish();
    });
    try {
      std::uint64_t reported = 0;
      const auto relay_cancel = [&] {
        if (plan.cancel != nullptr && plan.cancel->load()) halt = true;
      };
      while (const std::optional<std::uint64_t> wave_end = handshake.wait()) {
        relay_cancel();
        if (*wave_end != 0) {
          reported = *wave_end;
          plan.progress(static_cast<std::size_t>(reported), static_cast<std::size_t>(plan.nperm));
          relay_cancel();  // before the helper looks at it for the next wave
          handshake.reported();
        } else if (const std::uint64_t d = std::max(reported, done.load()); d < plan.nperm) {
          // Also when nothing more is done: the hook is how a window stays
          // responsive and hears Cancel while one relabelling takes seconds.
          reported = d;
          plan.progress(static_cast<std::size_t>(d), static_cast<std::size_t>(plan.nperm));
          relay_cancel();
        }
      }
    } catch (...) {
      halt = true;
      handshake.abandon();
      runner.join();
      throw;
    }
    runner.join();
    if (failure) std::rethrow_exception(failure);
  }
  if (stopped)
    runtime::raise_cancelled("The permutation test was cancelled after " + std::to_string(done.load()) +
                             " of " + std::to_string(plan.nperm) + " relabellings; nothing was written.");
  if (plan.progress && plan.nperm == 0) plan.progress(0, 0);

  for (int k = 0; k < kEffectCount; ++k) {
    counts.exceedances[k] += f_hits[k];
    counts.ev_exceedances[k] += ev_hits[k];
  }
  return counts;
}

}  // namespace lumivar::permutation
