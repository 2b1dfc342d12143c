// The superimposition of three-dimensional landmarks against the same of
// two-dimensional ones: 200,000 rows of 20 landmarks each, noisy copies of one
// shape at random positions, sizes and orientations. The summary compares the
// time per coordinate (and per coordinate and pass, as the two fits may take
// different numbers of passes), 3-D over 2-D, measured in this process.
//
//   build/bench/bench_dimensions [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <Eigen/Geometry>

#include "bench_support.h"
#include "geometry/getconsensus.h"
#include "runtime/matrix.h"

namespace {

using lumivar::runtime::Matrix;
constexpr std::size_t kRows = 200000;
constexpr std::size_t kLandmarks = 20;

// Rows of d = 2 or 3 coordinates per landmark, seeded by d.
Matrix study(std::size_t d) {
  std::mt19937_64 rng(d);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::normal_distribution<double> g;
  std::vector<double> base(d * kLandmarks);
  for (double& v : base) v = u(rng);
  Matrix x(kRows, d * kLandmarks + 1);
  for (std::size_t i = 1; i <= kRows; ++i) {
    Eigen::Matrix3d r = Eigen::Quaterniond(g(rng), g(rng), g(rng), g(rng)).normalized().toRotationMatrix();
    if (d == 2) {  // a turn in the plane
      const double a = 3.0 * u(rng);
      r << std::cos(a), -std::sin(a), 0, std::sin(a), std::cos(a), 0, 0, 0, 1;
    }
    const double s = 1.0 + 0.5 * u(rng);
    for (std::size_t j = 0; j < kLandmarks; ++j) {
      Eigen::Vector3d p = Eigen::Vector3d::Zero();
      for (std::size_t a = 0; a < d; ++a) p(static_cast<Eigen::Index>(a)) = base[d * j + a] + 0.1 * u(rng);
      const Eigen::Vector3d q = s * (r * p);
      for (std::size_t a = 0; a < d; ++a) x(i, d * j + a + 1) = q(static_cast<Eigen::Index>(a)) + 5.0;
    }
    x(i, d * kLandmarks + 1) = static_cast<double>(i);
  }
  return x;
}

std::map<std::size_t, int> passes;

// Args: dimensions, threads (0: all cores).
void BM_Superimposition(benchmark::State& state) {
  const auto d = static_cast<std::size_t>(state.range(0));
  static std::map<std::size_t, Matrix> studies;
  if (!studies.count(d)) studies[d] = study(d);
  lumivar::geometry::SuperimpositionSettings settings;
  settings.dimensions = static_cast<int>(d);
  settings.threads = static_cast<int>(state.range(1));
  for (auto _ : state) {
    const auto c = lumivar::geometry::getconsensus(studies[d], settings);
    passes[d] = c.iterations;
    benchmark::DoNotOptimize(c.xpt.data());
  }
  state.counters["passes"] = passes[d];
}

BENCHMARK(BM_Superimposition)
    ->ArgNames({"d", "threads"})
    ->ArgsProduct({{2, 3}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  lumivar::bench::SummaryReporter r;
  benchmark::RunSpecifiedBenchmarks(&r);
  std::printf("\n%8s %10s %10s %8s %20s %22s\n", "threads", "2-D (s)", "3-D (s)", "passes",
              "3-D/2-D per coord", "3-D/2-D per coord+pass");
  for (int threads : {1, 0}) {
    const std::string tail = "/threads:" + std::to_string(threads) + "/min_time:1.000/real_time";
    const double two = r.get("BM_Superimposition/d:2" + tail);
    const double three = r.get("BM_Superimposition/d:3" + tail);
    if (two <= 0 || three <= 0) continue;
    const double per_coord = (three / 3.0) / (two / 2.0);
    const double per_pass = per_coord * passes[2] / passes[3];
    std::printf("%8s %10.3f %10.3f %4d/%-3d %20.2f %22.2f\n", threads == 0 ? "all" : "1", two, three,
                passes[2], passes[3], per_coord, per_pass);
  }
  benchmark::Shutdown();
  return 0;
}
