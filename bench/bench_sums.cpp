// The two ways to the sums of squares of the partition, and the
// superimposition before them, on studies of 20 landmarks:
//
// Studies: m / 2 specimens of 20 landmarks measured twice, 2 x 2 groups.
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

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "geometry/allpairwiseprocrustes.h"
#include "geometry/getconsensus.h"
#include "partition/partition.h"
#include "partition/sums_from_coordinates.h"

namespace {

using lumivar::runtime::Matrix;

constexpr std::size_t kLandmarks = 20;

// The study with its superimposed coordinates, where both ways start.
struct Study : lumivar::bench::StudyInputs {
  explicit Study(std::size_t m)
      : StudyInputs(m, kLandmarks), xpt(lumivar::geometry::getconsensus(data).xpt) {}
  Matrix xpt;
};

const Study& study(std::size_t m) { return lumivar::bench::cached_study<Study>(m); }

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

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  lumivar::bench::SummaryReporter r;
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
