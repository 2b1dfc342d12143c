#pragma once
// What the benchmark programs share: one study per size, made once, and a
// reporter that keeps each benchmark's least wall time for the summary table
// printed after the runs (on a shared machine the other work only adds).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "partition/partition.h"
#include "runtime/matrix.h"

namespace lumivar::bench {

// A two-measurement study of m / 2 specimens of `landmarks` landmarks in a
// 2 x 2 design, the rows scattered around one base shape; seeded by m.
struct StudyInputs {
  explicit StudyInputs(std::size_t m, std::size_t landmarks = 20)
      : data(m, 2 * landmarks + 1), group(m / 2, 2), repgroup(m, 1) {
    const std::size_t coords = 2 * landmarks;
    std::mt19937_64 rng(m);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::vector<double> base(coords);
    for (double& b : base) b = unit(rng);
    for (std::size_t i = 1; i <= m; ++i) {
      for (std::size_t c = 1; c <= coords; ++c) data(i, c) = base[c - 1] + 0.1 * unit(rng);
      data(i, coords + 1) = unit(rng);
      repgroup(i) = i <= m / 2 ? 1 : 2;
    }
    for (std::size_t j = 1; j <= m / 2; ++j) {
      group(j, 1) = static_cast<double>(j % 2 + 1);
      group(j, 2) = static_cast<double>((j / 2) % 2 + 1);
    }
    sizes = {static_cast<double>(m), 2, 2, 2};
  }
  runtime::Matrix data, group, repgroup;
  partition::DesignSizes sizes;
};

// The study of m rows, built by Study(m) when first asked for.
template <class Study>
const Study& cached_study(std::size_t m) {
  static std::map<std::size_t, std::unique_ptr<Study>> cache;
  auto& s = cache[m];
  if (!s) s = std::make_unique<Study>(m);
  return *s;
}

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration) continue;
      const double s = r.GetAdjustedRealTime() * 1e-3;  // reported in ms
      const std::string name = r.run_name.str();
      const auto it = seconds.find(name);
      if (it == seconds.end() || s < it->second) seconds[name] = s;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // Seconds per run of the benchmark `name`, 0 when it did not run.
  double get(const std::string& name) const {
    const auto it = seconds.find(name);
    return it == seconds.end() ? 0 : it->second;
  }
  std::map<std::string, double> seconds;
};

}  // namespace lumivar::bench
