#include "permutation/permutation_counts.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <string>

#include <tbb/blocked_range.h>
#include <tbb/enumerable_thread_specific.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include "permutation/reported_waves.h"
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
  ReportedWaves relay(plan);
  const auto cancelled = [&] { return relay.cancelled(); };
  tbb::enumerable_thread_specific<std::unique_ptr<PermutationEngine::Worker>> workers(
      [&] { return engine.make_cancellable_worker(relay.cancel()); });

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

  if (plan.cancel != nullptr && plan.cancel->load()) stopped = true;
  const int threads = std::max(1, plan.threads);
  const auto run_waves = [&](const WaveDone& wave_done) {
    if (stopped) return;
    try {
      observed = statistics(
          sstotal, engine.make_cancellable_worker(relay.cancel())->within_sums(identity_relabelling(mg)), sizes);
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
      if (wave_done && !stopped) wave_done(next);
      if (cancelled()) stopped = true;
      wave = next_wave(wave, took.count(), threads);
    }
  };

  relay.run(done, run_waves);

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
