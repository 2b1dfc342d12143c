// How soon a cancel stops the reference engine, against what one of its
// relabellings costs, at m = 2000, 4000 and 8000 rows of 20 landmarks (the
// time of a relabelling grows as m^2, the latency should not). The cancel is
// raised by the progress hook, as the window's Cancel button raises it, once
// the run has gone for half a second; the latency runs from there to the
// moment the run has stopped.
//
//   bench_cancel [--benchmark_filter=...] [--m=20000 for one run at that size]
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench_support.h"
#include "geometry/allpairwiseprocrustes.h"
#include "permutation/permutation_counts.h"
#include "permutation/permutation_engine.h"
#include "runtime/error.h"

namespace {

using Clock = std::chrono::steady_clock;
using lumivar::permutation::Engine;

struct Study : lumivar::bench::StudyInputs {
  explicit Study(std::size_t m)
      : StudyInputs(m, 20), fit(lumivar::geometry::procrustes_distances(data, 0)) {}
  lumivar::permutation::DesignData design() const {
    return {fit.xpt, fit.d, group, repgroup, sizes};
  }
  lumivar::geometry::ProcrustesDistances fit;
};

const Study& study(std::size_t m) { return lumivar::bench::cached_study<Study>(m); }

// One relabelling of the reference engine: the baseline.
void BM_ReferenceRelabelling(benchmark::State& state) {
  const Study& s = study(static_cast<std::size_t>(state.range(0)));
  const auto engine = lumivar::permutation::make_engine(Engine::kReference, s.design());
  const auto worker = engine->make_worker();
  lumivar::permutation::Relabelling r;
  std::uint64_t i = 0;
  for (auto _ : state) {
    lumivar::permutation::draw_relabelling(1, i++, engine->specimens(), r);
    benchmark::DoNotOptimize(worker->within_sums(r));
  }
}

// From the cancel to the end of the run (manual time), on two threads.
void BM_CancelLatency(benchmark::State& state) {
  const Study& s = study(static_cast<std::size_t>(state.range(0)));
  const auto engine = lumivar::permutation::make_engine(Engine::kReference, s.design());
  for (auto _ : state) {
    std::atomic<bool> cancel{false};
    lumivar::permutation::RunPlan plan;
    plan.nperm = 999;
    plan.seed = 1;
    plan.threads = 2;
    plan.cancel = &cancel;
    const Clock::time_point start = Clock::now();
    Clock::time_point raised{};
    plan.progress = [&](std::size_t, std::size_t) {
      if (!cancel && Clock::now() - start >= std::chrono::milliseconds(500)) {
        raised = Clock::now();
        cancel = true;
      }
    };
    try {
      lumivar::permutation::permutation_counts(*engine, s.sizes, plan);
    } catch (const lumivar::runtime::Cancelled&) {
    }
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - raised).count());
  }
}

BENCHMARK(BM_ReferenceRelabelling)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CancelLatency)
    ->Arg(2000)->Arg(4000)->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  // --m=N: only that size, registered here (20,000 rows need 3.2 GB for the matrix).
  long only = 0;
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--m=", 4) == 0) only = std::stol(argv[i] + 4);
  if (only > 0) {
    benchmark::ClearRegisteredBenchmarks();
    benchmark::RegisterBenchmark("BM_ReferenceRelabelling", BM_ReferenceRelabelling)
        ->Arg(only)->Unit(benchmark::kMillisecond)->Iterations(2);
    benchmark::RegisterBenchmark("BM_CancelLatency", BM_CancelLatency)
        ->Arg(only)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
  }
  benchmark::Initialize(&argc, argv);
  lumivar::bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%8s %18s %18s %10s\n", "m", "relabelling (s)", "cancel latency (s)", "ratio");
  // The first result whose name begins with `prefix` (names carry the run's options after it).
  const auto seconds = [&](const std::string& prefix) {
    for (const auto& [name, value] : reporter.seconds)
      if (name.rfind(prefix, 0) == 0 && (name.size() == prefix.size() || name[prefix.size()] == '/'))
        return value;
    return -1.0;
  };
  for (long m : {2000L, 4000L, 8000L, only}) {
    const double r = seconds("BM_ReferenceRelabelling/" + std::to_string(m));
    const double c = seconds("BM_CancelLatency/" + std::to_string(m));
    if (r > 0 && c >= 0) std::printf("%8ld %18.4f %18.4f %10.3f\n", m, r, c, c / r);
  }
  benchmark::Shutdown();
  return 0;
}
