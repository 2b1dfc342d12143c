#include "permutation/null_simulation.h"

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "geometry/allpairwiseprocrustes.h"
#include "partition/partition.h"
#include "permutation/permutation_counts.h"
#include "permutation/permutation_engine.h"
#include "permutation/strata_report.h"

namespace lumivar::permutation {

namespace {

// Standard normal draws by Box-Muller from 53-bit uniforms, so that a data
// set is the same whatever the standard library.
class Normal {
 public:
  explicit Normal(std::uint64_t seed) : rng_(seed) {}
  double operator()() {
    if (has_spare_) {
      has_spare_ = false;
      return spare_;
    }
    const double u1 = 1.0 - uniform(), u2 = uniform();
    const double r = std::sqrt(-2.0 * std::log(u1));
    spare_ = r * std::sin(2 * std::numbers::pi * u2);
    has_spare_ = true;
    return r * std::cos(2 * std::numbers::pi * u2);
  }

 private:
  double uniform() { return static_cast<double>(rng_() >> 11) * 0x1.0p-53; }
  std::mt19937_64 rng_;
  bool has_spare_ = false;
  double spare_ = 0;
};

struct Study {
  runtime::Matrix data, group, repgroup;
  partition::DesignSizes sizes;
};

Study simulated_study(const NullScenario& sc, std::uint64_t seed) {
  Normal normal(seed);
  std::vector<std::size_t> counts = sc.cell_counts;
  if (counts.empty()) counts.assign(sc.n1 * sc.n2, sc.per_cell);
  std::size_t mg = 0;
  for (std::size_t c : counts) mg += c;
  const std::size_t k = sc.landmarks;
  Study s;
  s.data = runtime::Matrix(2 * mg, 2 * k + 1);
  s.group = runtime::Matrix(mg, 2);
  s.repgroup = runtime::Matrix(2 * mg, 1);
  std::vector<double> shape(2 * k);
  std::size_t j = 0;
  for (std::size_t a = 1; a <= sc.n1; ++a)
    for (std::size_t b = 1; b <= sc.n2; ++b)
      for (std::size_t c = 0; c < counts[(a - 1) * sc.n2 + (b - 1)]; ++c, ++j) {
        s.group(j + 1, 1) = static_cast<double>(a);
        s.group(j + 1, 2) = static_cast<double>(b);
        for (std::size_t l = 0; l < k; ++l) {
          const double angle = 2 * std::numbers::pi * static_cast<double>(l) / static_cast<double>(k);
          shape[2 * l] = std::cos(angle) + sc.specimen_sd * normal();
          shape[2 * l + 1] = std::sin(angle) + sc.specimen_sd * normal();
        }
        shape[0] += sc.g2_effect * static_cast<double>(b - 1);
        shape[4] += sc.g1g2_effect * (a == b ? 1.0 : -1.0);
        const double outwards = a == 1 ? 1.0 : -1.0;
        for (std::size_t t = 0; t < 2; ++t) {
          const std::size_t row = j + 1 + t * mg;
          s.repgroup(row) = static_cast<double>(t + 1);
          for (std::size_t c2 = 0; c2 < 2 * k; ++c2)
            s.data(row, c2 + 1) = shape[c2] + sc.residual_sd * normal();
          s.data(row, 3) += sc.t_effect * static_cast<double>(t);  // landmark 2 moves in x
          s.data(row, 7) += outwards * sc.g1t_effect * (static_cast<double>(t) - 0.5);  // landmark 4
          s.data(row, 2 * k + 1) = static_cast<double>(j + 1);
        }
      }
  s.sizes = {static_cast<double>(2 * mg), static_cast<double>(sc.n1),
             static_cast<double>(sc.n2), 2};
  return s;
}

bool balanced(const NullScenario& sc) {
  for (std::size_t c : sc.cell_counts)
    if (c != sc.cell_counts.front()) return false;
  return true;
}

std::uint64_t dataset_seed(std::uint64_t seed, std::size_t i) {
  return seed * 0x9e3779b97f4a7c15ULL + static_cast<std::uint64_t>(i) + 1;
}

}  // namespace

Rejections null_simulation(const NullScenario& sc, const NullRun& run) {
  Rejections out;
  out.datasets = run.datasets;
  const double labellings = static_cast<double>(run.nperm) + 1;
  for (std::size_t i = 0; i < run.datasets; ++i) {
    const Study s = simulated_study(sc, dataset_seed(run.seed, i));
    const geometry::ProcrustesDistances fit = geometry::procrustes_distances(s.data, 1);

    RunPlan plan;
    plan.nperm = run.nperm;
    plan.seed = run.seed + i;
    plan.threads = run.threads;
    const auto rejects = [&](double pvalue) { return pvalue <= run.alpha; };
    using partition::kG1;
    using partition::kT;
    if (balanced(sc)) {
      const std::unique_ptr<PermutationEngine> engine =
          make_engine(Engine::kFast, DesignData{fit.xpt, fit.d, s.group, s.repgroup, s.sizes});
      const Counts counts = permutation_counts(*engine, s.sizes, plan);
      out.g1_specified += rejects(static_cast<double>(counts.exceedances[kG1]) / labellings);
      out.t_specified += rejects(static_cast<double>(counts.exceedances[kT]) / labellings);
    }
    const StrataResults strata = strata_analysis({s.group, s.repgroup, fit.xpt}, &plan);
    for (int k = 0; k < partition::kEffectCount; ++k) out.strata[k] += rejects(strata.table.effects[k].p);
    out.g1_strata += rejects(strata.table.effects[kG1].p);
    out.t_strata += rejects(strata.table.effects[kT].p);
  }
  return out;
}

}  // namespace lumivar::permutation
