#pragma once
// How often a test rejects a true null hypothesis: simulated two-measurement
// studies without the tested effect, each analysed by the specified Permute
// (its Perm F P) and by the tests by strata. Used to show the level of both
// tests and to keep it checked.
//
// Each data set: n1 x n2 cells of `per_cell` specimens (or `cell_counts`,
// cell a * n2 + b), `landmarks` landmarks around a regular polygon of
// radius 1. Every specimen has its own shape (independent normal landmark
// offsets, `specimen_sd`), G2 shifts landmark 1 by `g2_effect`, the second
// measurement moves landmark 2 by `t_effect`, and every row gets its own
// digitising error (`residual_sd`). Interactions without main effects:
// landmark 3 moves by +g1g2_effect in cells with a = b and by -g1g2_effect
// in the others; landmark 4 moves by g1t_effect / 2 from one measurement to
// the other, outwards for G1 = 1 and inwards for G1 = 2. G1 has no main
// effect, so its rejections are false ones; with t_effect = 0 the same holds
// for T. The specified Permute runs on balanced designs only.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "partition/partition.h"

namespace lumivar::permutation {

struct NullScenario {
  std::size_t n1 = 2, n2 = 2, per_cell = 5, landmarks = 8;
  std::vector<std::size_t> cell_counts;  // empty: per_cell in every cell
  double g1g2_effect = 0.0, g1t_effect = 0.0;
  double specimen_sd = 0.05;
  double residual_sd = 0.01;
  double t_effect = 0.3;
  double g2_effect = 0.0;
};

struct NullRun {
  std::size_t datasets = 0;
  std::uint64_t nperm = 999;
  std::uint64_t seed = 1;
  double alpha = 0.05;
  int threads = 1;
};

struct Rejections {
  std::size_t datasets = 0;
  // Data sets whose P was at most alpha.
  std::size_t g1_specified = 0, g1_strata = 0;
  std::size_t t_specified = 0, t_strata = 0;
  // Every effect of the tests by strata, in the partition's order.
  partition::PerEffect<std::size_t> strata{};
};

// Data set i draws from its own generator seeded from (run.seed, i), and its
// relabellings use seed run.seed + i; the result is the same for any number
// of threads. Cost: datasets x nperm relabellings of both tests.
Rejections null_simulation(const NullScenario& scenario, const NullRun& run);

}  // namespace lumivar::permutation
