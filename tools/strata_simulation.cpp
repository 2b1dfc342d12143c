// strata-simulation: the rejection rates of the specified Permute and of the
// tests by strata on simulated studies without the tested effect, as a
// Markdown table (docs/strata.md).
//
//   strata-simulation [--datasets 400] [--permutations 999] [--seed 1] [--threads 0]
//                     [--specimen-sd 0.05] [--residual-sd 0.01] [--t-effect 0.3]
#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

#include "permutation/null_simulation.h"

namespace {

using lumivar::permutation::NullRun;
using lumivar::permutation::NullScenario;

void print_rate(const char* test, const char* effect, std::size_t rejected, std::size_t n) {
  const double rate = static_cast<double>(rejected) / static_cast<double>(n);
  const double se = std::sqrt(rate * (1 - rate) / static_cast<double>(n));
  std::printf("| %s | %s | %zu of %zu | %.1f %% | %.1f %% |\n", effect, test, rejected, n,
              100 * rate, 100 * se);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App cli{"Rejection rates of both permutation tests under the null hypothesis."};
  NullRun run;
  run.datasets = 400;
  int threads = 0;
  cli.add_option("--datasets", run.datasets, "simulated data sets per scenario");
  cli.add_option("--permutations", run.nperm, "relabellings per test");
  cli.add_option("--seed", run.seed, "seed of the data sets and relabellings");
  cli.add_option("--threads", threads, "worker threads (0: all cores)");
  NullScenario t_strong;  // G1 null, strong T and specimen variation
  cli.add_option("--specimen-sd", t_strong.specimen_sd, "landmark scatter among specimens");
  cli.add_option("--residual-sd", t_strong.residual_sd, "landmark scatter between two measurements");
  cli.add_option("--t-effect", t_strong.t_effect, "shift of one landmark at the second measurement");
  CLI11_PARSE(cli, argc, argv);
  run.threads = threads > 0 ? threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

  NullScenario t_null = t_strong;
  t_null.t_effect = 0;
  std::printf("%zu data sets per scenario, %llu relabellings per test, seed %llu: %zu x %zu cells of "
              "%zu specimens, %zu landmarks; specimen SD %g, measurement SD %g, T shifts one "
              "landmark by %g (none in the second scenario).\n\n",
              run.datasets, static_cast<unsigned long long>(run.nperm),
              static_cast<unsigned long long>(run.seed), t_strong.n1, t_strong.n2,
              t_strong.per_cell, t_strong.landmarks, t_strong.specimen_sd, t_strong.residual_sd,
              t_strong.t_effect);
  std::printf("| effect without an effect (scenario) | test | P at most %.2f | rate | binomial SE |\n",
              run.alpha);
  std::printf("|---|---|---|---|---|\n");
  const auto a = lumivar::permutation::null_simulation(t_strong, run);
  print_rate("specified Perm F P", "G1 (strong T)", a.g1_specified, a.datasets);
  print_rate("tests by strata", "G1 (strong T)", a.g1_strata, a.datasets);
  NullRun second = run;
  second.seed = run.seed + 1000003;
  const auto b = lumivar::permutation::null_simulation(t_null, second);
  print_rate("specified Perm F P", "T (no T effect)", b.t_specified, b.datasets);
  print_rate("tests by strata", "T (no T effect)", b.t_strata, b.datasets);

  // Unequal cells (3, 6, 5 and 4 specimens) with strong interactions and no
  // main effect of G1 or G2: G1xG2 and G1xt are real, every other effect
  // null (T too in the second of these scenarios). Only the tests by strata
  // take such designs.
  NullScenario unequal = t_strong;
  unequal.cell_counts = {3, 6, 5, 4};
  unequal.g1g2_effect = 0.1;
  unequal.g1t_effect = 0.1;
  std::printf("\nUnequal cells of 3, 6, 5 and 4 specimens; landmark 3 moves by +-%g in the cells "
              "(1, 1), (2, 2) against the others (G1xG2), landmark 4 by %g between the measurements, "
              "opposite ways in the two G1 groups (G1xt). Sums of type III.\n\n",
              unequal.g1g2_effect, unequal.g1t_effect);
  std::printf("| effect (scenario) | test | P at most %.2f | rate | binomial SE |\n", run.alpha);
  std::printf("|---|---|---|---|---|\n");
  using lumivar::partition::kEffectLabels;
  for (int scenario = 0; scenario < 2; ++scenario) {
    NullScenario sc = unequal;
    if (scenario == 1) sc.t_effect = 0;
    NullRun r = run;
    r.seed = run.seed + 2000003 + 1000003 * static_cast<std::uint64_t>(scenario);
    const auto c = lumivar::permutation::null_simulation(sc, r);
    for (int k = 0; k < lumivar::partition::kEffectCount; ++k) {
      const bool real = k == lumivar::partition::kG1xG2 || k == lumivar::partition::kG1xT ||
                        (k == lumivar::partition::kT && scenario == 0);
      const std::string effect = std::string(kEffectLabels[k]) + (real ? " (real)" : "") +
                                 (scenario == 0 ? ", strong T" : ", no T");
      print_rate("tests by strata", effect.c_str(), c.strata[k], c.datasets);
    }
  }
  return 0;
}
