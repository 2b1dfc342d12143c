// The tests by strata against the specified Permute (fast engine, sums from
// the coordinates) on the same superimposed study, 999 relabellings each, on
// a balanced design and on the same study with unequal cells (every tenth
// specimen of cell (1, 1) moved to cell (2, 2)). A table after the runs
// gives the ratio strata / Permute.
//
//   bench_strata [FOLDER] [--benchmark_filter=...]
//
// FOLDER holds landmarks.txt, reps.txt and groups.txt, for example the
// 200,000-row study of `python3 bench/make_large_study.py 100000 FOLDER`;
// without it, a generated study of 20,000 rows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "geometry/getconsensus.h"
#include "input/dload.h"
#include "permutation/permutation_counts.h"
#include "permutation/permutation_engine.h"
#include "permutation/strata_report.h"

namespace {

using lumivar::runtime::Matrix;
constexpr std::uint64_t kRelabellings = 999;
std::string g_folder;

struct Study {
  Study() {
    if (g_folder.empty()) {
      const lumivar::bench::StudyInputs s(20000);
      data = s.data;
      group = s.group;
      repgroup = s.repgroup;
    } else {
      data = lumivar::input::dload(g_folder + "/landmarks.txt");
      group = lumivar::input::dload(g_folder + "/groups.txt");
      repgroup = lumivar::input::dload(g_folder + "/reps.txt");
    }
    sizes = {static_cast<double>(data.rows()), 2, 2, 2};
    lumivar::geometry::SuperimpositionSettings settings;
    xpt = lumivar::geometry::getconsensus(data, settings).xpt;
    unequal = group;
    std::size_t moved = 0;
    for (std::size_t j = 1; j <= unequal.rows(); ++j)
      if (unequal(j, 1) == 1 && unequal(j, 2) == 1 && moved++ % 10 == 0) {
        unequal(j, 1) = 2;
        unequal(j, 2) = 2;
      }
  }
  Matrix data, group, repgroup, xpt, unequal, none;
  lumivar::partition::DesignSizes sizes;
};

const Study& study() {
  static const Study s;
  return s;
}

lumivar::permutation::RunPlan plan(int threads) {
  lumivar::permutation::RunPlan p;
  p.nperm = kRelabellings;
  p.seed = 1;
  p.threads = threads;
  return p;
}

void BM_Permute(benchmark::State& state) {
  const Study& s = study();
  const auto engine = lumivar::permutation::make_engine(
      lumivar::permutation::Engine::kFast, {s.xpt, s.none, s.group, s.repgroup, s.sizes});
  for (auto _ : state) {
    auto counts = lumivar::permutation::permutation_counts(
        *engine, s.sizes, plan(static_cast<int>(state.range(0))));
    benchmark::DoNotOptimize(counts);
  }
}

// Arg 1: 0 balanced, 1 unequal cells.
void BM_Strata(benchmark::State& state) {
  const Study& s = study();
  const Matrix& group = state.range(1) ? s.unequal : s.group;
  const auto p = plan(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto r = lumivar::permutation::strata_analysis({group, s.repgroup, s.xpt}, &p);
    benchmark::DoNotOptimize(r);
  }
}

BENCHMARK(BM_Permute)->ArgNames({"threads"})->Arg(1)->Arg(2)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_Strata)->ArgNames({"threads", "unequal"})->ArgsProduct({{1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc > 1) g_folder = argv[1];
  (void)study();  // the superimposition is not part of either run
  lumivar::bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const Study& s = study();
  std::printf("\n%zu rows, %zu coordinates, %llu relabellings (least of 3 runs)\n", s.data.rows(),
              s.data.cols() - 1, static_cast<unsigned long long>(kRelabellings));
  std::printf("%8s %12s %14s %14s %10s %10s\n", "threads", "Permute (s)", "strata (s)",
              "unequal (s)", "ratio", "unequal");
  for (int threads : {1, 2}) {
    const std::string t = std::to_string(threads);
    const double permute = reporter.get("BM_Permute/threads:" + t + "/iterations:1/repeats:3/real_time");
    const double strata = reporter.get("BM_Strata/threads:" + t + "/unequal:0/iterations:1/repeats:3/real_time");
    const double unequal = reporter.get("BM_Strata/threads:" + t + "/unequal:1/iterations:1/repeats:3/real_time");
    if (permute == 0) continue;
    std::printf("%8d %12.2f %14.2f %14.2f %10.2f %10.2f\n", threads, permute, strata, unequal,
                strata / permute, unequal / permute);
  }
  return 0;
}
