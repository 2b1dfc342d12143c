// Superimposition and squared distance matrix on study-sized landmark data:
// m specimens of 20 landmarks, seeded, at 1 thread and at all cores.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/getconsensus.h"
#include "partition/getssgroup.h"
#include "runtime/matrix.h"

namespace {

using lumivar::runtime::Matrix;
constexpr std::size_t kLandmarks = 20;

// Noisy copies of one random shape, each at its own position, size and
// orientation, plus a trailing value: what a digitised study looks like.
Matrix study(std::size_t m, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<double> base(2 * kLandmarks);
  for (double& v : base) v = u(rng);
  Matrix x(m, 2 * kLandmarks + 1);
  for (std::size_t i = 1; i <= m; ++i) {
    const double s = 1.0 + 0.5 * u(rng);
    const double a = 3.0 * u(rng);
    const double dx = 10.0 * u(rng);
    const double dy = 10.0 * u(rng);
    for (std::size_t j = 0; j < kLandmarks; ++j) {
      const double px = base[2 * j] + 0.1 * u(rng);
      const double py = base[2 * j + 1] + 0.1 * u(rng);
      x(i, 2 * j + 1) = s * (std::cos(a) * px - std::sin(a) * py) + dx;
      x(i, 2 * j + 2) = s * (std::sin(a) * px + std::cos(a) * py) + dy;
    }
    x(i, 2 * kLandmarks + 1) = static_cast<double>(i);
  }
  return x;
}

void BM_GetConsensus(benchmark::State& state) {
  const Matrix x = study(static_cast<std::size_t>(state.range(0)), 2024);
  int iterations = 0;
  for (auto _ : state) {
    auto c = lumivar::geometry::getconsensus(x);
    iterations = c.iterations;
    benchmark::DoNotOptimize(c.xpt.data());
  }
  state.counters["gpa_iterations"] = iterations;
}
BENCHMARK(BM_GetConsensus)->Arg(200)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

// Arguments: rows, threads (0 = all cores).
void BM_AllPairwiseProcrustes(benchmark::State& state) {
  const auto m = static_cast<std::size_t>(state.range(0));
  const Matrix x = study(m, 2024);
  int iterations = 0;
  for (auto _ : state) {
    auto r = lumivar::geometry::procrustes_distances(x, static_cast<int>(state.range(1)));
    iterations = r.iterations;
    benchmark::DoNotOptimize(r.d.data());
  }
  state.counters["gpa_iterations"] = iterations;
  state.counters["matrix_MiB"] = static_cast<double>(m * m * sizeof(double)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_AllPairwiseProcrustes)
    ->ArgsProduct({{200, 2000, 8000}, {1, 0}})
    ->ArgNames({"m", "threads"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// One within-group sum over the distance matrix (the permutation test's
// reference path calls it seven times per relabelling).
void BM_GetSsGroup(benchmark::State& state) {
  const auto m = static_cast<std::size_t>(state.range(0));
  const Matrix d = lumivar::geometry::allpairwiseprocrustes(study(m, 2024));
  Matrix codes(m, 1);
  for (std::size_t i = 1; i <= m; ++i) codes(i) = static_cast<double>(i % 8);
  for (auto _ : state)
    benchmark::DoNotOptimize(lumivar::partition::getssgroup(d, codes, static_cast<double>(m / 8)));
}
BENCHMARK(BM_GetSsGroup)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
