// The two permutation engines at m = 100, 400 and 2000 rows of 20 landmarks,
// 999 relabellings, on 1 and 2 threads. After the runs a table gives the
// speed-up of the fast engine over the reference engine, the speed-up of two
// threads over one, and the time per relabelling divided by m x p (p = 40
// coordinates).
//
//   bench_permutation [--benchmark_repetitions=5] [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "geometry/allpairwiseprocrustes.h"
#include "permutation/permutation_counts.h"
#include "permutation/permutation_engine.h"

namespace {

using lumivar::permutation::Engine;
using lumivar::runtime::Matrix;

constexpr std::size_t kLandmarks = 20;
constexpr std::size_t kCoords = 2 * kLandmarks;
constexpr std::uint64_t kRelabellings = 999;

// The study with its distance matrix, as both engines read it.
struct Study : lumivar::bench::StudyInputs {
  explicit Study(std::size_t m)
      : StudyInputs(m, kLandmarks), fit(lumivar::geometry::procrustes_distances(data, 0)) {}
  lumivar::permutation::DesignData design() const {
    return {fit.xpt, fit.d, group, repgroup, sizes};
  }
  lumivar::geometry::ProcrustesDistances fit;
};

const Study& study(std::size_t m) { return lumivar::bench::cached_study<Study>(m); }

// Args: engine (0 fast, 1 reference), m, threads.
void BM_Permutations(benchmark::State& state) {
  const Engine kind = state.range(0) == 0 ? Engine::kFast : Engine::kReference;
  const auto m = static_cast<std::size_t>(state.range(1));
  const Study& s = study(m);
  const auto engine = lumivar::permutation::make_engine(kind, s.design());
  lumivar::permutation::RunPlan plan;
  plan.nperm = kRelabellings;
  plan.seed = 1;
  plan.threads = static_cast<int>(state.range(2));
  for (auto _ : state) {
    auto counts = lumivar::permutation::permutation_counts(*engine, s.sizes, plan);
    benchmark::DoNotOptimize(counts);
  }
}

BENCHMARK(BM_Permutations)
    ->ArgNames({"reference", "m", "threads"})
    ->ArgsProduct({{0, 1}, {100, 400, 2000}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(0.5);

std::string name(int reference, int m, int threads) {
  return "BM_Permutations/reference:" + std::to_string(reference) + "/m:" + std::to_string(m) +
         "/threads:" + std::to_string(threads) + "/min_time:0.500/real_time";
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  lumivar::bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%6s %8s %12s %14s %12s %16s\n", "m", "threads", "fast (s)", "reference (s)",
              "ref / fast", "fast ns/(relab*m*p)");
  for (int m : {100, 400, 2000})
    for (int threads : {1, 2}) {
      const auto f = reporter.seconds.find(name(0, m, threads));
      const auto r = reporter.seconds.find(name(1, m, threads));
      if (f == reporter.seconds.end()) continue;
      const double per = f->second * 1e9 / (kRelabellings * static_cast<double>(m) * kCoords);
      const double ref = r == reporter.seconds.end() ? 0 : r->second;
      std::printf("%6d %8d %12.4f %14.4f %12.1f %16.3f\n", m, threads, f->second, ref,
                  ref > 0 ? ref / f->second : 0.0, per);
    }
  for (int reference : {0, 1})
    for (int m : {100, 400, 2000}) {
      const auto one = reporter.seconds.find(name(reference, m, 1));
      const auto two = reporter.seconds.find(name(reference, m, 2));
      if (one != reporter.seconds.end() && two != reporter.seconds.end())
        std::printf("%s m=%d: 2 threads are %.2fx one thread\n",
                    reference ? "reference" : "fast", m, one->second / two->second);
    }
  benchmark::Shutdown();
  return 0;
}
