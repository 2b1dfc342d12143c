// The two ways to the sums of squares of the partition, and the
// superimposition before them, on studies of 20 landmarks:
//
// - BM_Sums: the whole observed partition from the superimposed coordinates,
//   through the m x m distance matrix (path 0: the matrix, then getsstotal
//   and seven getssgroup passes) or from the coordinates (path 1);
// - BM_Superimposition: getconsensus on 1 and 2 threads.
//
// After the runs a table gives, per m, matrix / coordinates and two threads
// over one: ratios within one process, so a shared machine changes them less
// than it changes the times.
//
//   bench_sums [--benchmark_repetitions=3] [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "geometry/allpairwiseprocrustes.h"
#include "geometry/getconsensus.h"
#include "partition/partition.h"
#include "partition/sums_from_coordinates.h"

namespace {

using lumivar::runtime::Matrix;

constexpr std::size_t kLandmarks = 20;
constexpr std::size_t kCoords = 2 * kLandmarks;

// m / 2 specimens measured twice in a 2 x 2 design, scattered around one
// shape, each row moved, turned and scaled.
struct Study {
  explicit Study(std::size_t m) : data(m, kCoords + 1), group(m / 2, 2), repgroup(m, 1) {
    std::mt19937_64 rng(m);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::vector<double> base(kCoords);
    for (double& b : base) b = unit(rng);
    for (std::size_t i = 1; i <= m; ++i) {
      const double a = 3 * unit(rng), s = 1.5 + unit(rng), dx = 10 * unit(rng);
      for (std::size_t j = 1; j <= kLandmarks; ++j) {
        const double x = base[2 * j - 2] + 0.1 * unit(rng), y = base[2 * j - 1] + 0.1 * unit(rng);
        data(i, 2 * j - 1) = s * (std::cos(a) * x - std::sin(a) * y) + dx;
        data(i, 2 * j) = s * (std::sin(a) * x + std::cos(a) * y);
      }
      data(i, kCoords + 1) = static_cast<double>(i);
      repgroup(i) = i <= m / 2 ? 1 : 2;
    }
    for (std::size_t j = 1; j <= m / 2; ++j) {
      group(j, 1) = static_cast<double>(j % 2 + 1);
      group(j, 2) = static_cast<double>((j / 2) % 2 + 1);
    }
    xpt = lumivar::geometry::getconsensus(data).xpt;
    sizes = {static_cast<double>(m), 2, 2, 2};
  }
  Matrix data, group, repgroup, xpt;
  lumivar::partition::DesignSizes sizes;
};

const Study& study(std::size_t m) {
  static std::map<std::size_t, std::unique_ptr<Study>> cache;
  auto& s = cache[m];
  if (!s) s = std::make_unique<Study>(m);
  return *s;
}

// Args: path (0 matrix, 1 coordinates), m.
void BM_Sums(benchmark::State& state) {
  const Study& s = study(static_cast<std::size_t>(state.range(1)));
  for (auto _ : state) {
    lumivar::partition::Partition p;
    if (state.range(0) == 0) {
      const Matrix d = lumivar::geometry::squared_distances(s.xpt, 0);
      p = lumivar::partition::compute_partition(d, s.group, s.repgroup, s.sizes);
    } else {
      p = lumivar::partition::partition_from_coordinates(s.xpt, s.group, s.repgroup, s.sizes);
    }
    benchmark::DoNotOptimize(p);
  }
}

BENCHMARK(BM_Sums)
    ->ArgNames({"path", "m"})
    ->ArgsProduct({{0, 1}, {1000, 2000, 4000, 8000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(0.3);

// Args: threads, m.
void BM_Superimposition(benchmark::State& state) {
  const Study& s = study(static_cast<std::size_t>(state.range(1)));
  lumivar::geometry::SuperimpositionSettings settings;
  settings.threads = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(lumivar::geometry::getconsensus(s.data, settings));
}

BENCHMARK(BM_Superimposition)
    ->ArgNames({"threads", "m"})
    ->ArgsProduct({{1, 2}, {20000, 200000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(0.3);

// The least wall time per run over repetitions: on a shared machine the
// other work only adds.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration) continue;
      const double s = r.GetAdjustedRealTime() * 1e-3;
      const std::string name = r.run_name.str();
      const auto it = seconds.find(name);
      if (it == seconds.end() || s < it->second) seconds[name] = s;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double get(const std::string& name) const {
    const auto it = seconds.find(name);
    return it == seconds.end() ? 0 : it->second;
  }
  std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  SummaryReporter r;
  benchmark::RunSpecifiedBenchmarks(&r);
  std::printf("\n%6s %12s %16s %18s\n", "m", "matrix (s)", "coordinates (s)", "matrix / coords");
  for (int m : {1000, 2000, 4000, 8000}) {
    const std::string tail = "/m:" + std::to_string(m) + "/min_time:0.300/real_time";
    const double a = r.get("BM_Sums/path:0" + tail), b = r.get("BM_Sums/path:1" + tail);
    if (a > 0 && b > 0) std::printf("%6d %12.4f %16.4f %18.1f\n", m, a, b, a / b);
  }
  for (int m : {20000, 200000}) {
    const std::string tail = "/m:" + std::to_string(m) + "/min_time:0.300/real_time";
    const double one = r.get("BM_Superimposition/threads:1" + tail);
    const double two = r.get("BM_Superimposition/threads:2" + tail);
    if (one > 0 && two > 0)
      std::printf("superimposition m=%d: %.4f s on one thread, two threads %.2fx faster\n", m, one,
                  one / two);
  }
  benchmark::Shutdown();
  return 0;
}
