#pragma once
// Seeded landmark data for the geometry and partition tests: noisy copies of
// one base shape, each placed at its own position, size and orientation, as
// digitised specimens of one species would be.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>

#include "runtime/matrix.h"

namespace lumivar::testing {

// Moves row i of `x` (interleaved landmarks, one trailing value) by a
// similarity: scale s, counter-clockwise rotation by `angle`, then the shift
// (dx, dy). The trailing value is left alone.
inline void apply_similarity(runtime::Matrix& x, std::size_t i, double s, double angle,
                             double dx, double dy) {
  const std::size_t k = (x.cols() - 1) / 2;
  const double c = std::cos(angle);
  const double sn = std::sin(angle);
  for (std::size_t j = 1; j <= k; ++j) {
    const double px = x(i, 2 * j - 1);
    const double py = x(i, 2 * j);
    x(i, 2 * j - 1) = s * (c * px - sn * py) + dx;
    x(i, 2 * j) = s * (sn * px + c * py) + dy;
  }
}

// m specimens of k landmarks (m x (2k + 1)); `noise` is the landmark scatter
// around the base shape, whose landmarks lie about one unit from its centre.
inline runtime::Matrix random_landmarks(std::size_t m, std::size_t k, std::uint64_t seed,
                                        double noise = 0.1) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  runtime::Matrix base(1, 2 * k);
  for (std::size_t j = 1; j <= 2 * k; ++j) base(1, j) = unit(rng);
  runtime::Matrix x(m, 2 * k + 1);
  for (std::size_t i = 1; i <= m; ++i) {
    for (std::size_t j = 1; j <= 2 * k; ++j) x(i, j) = base(1, j) + noise * unit(rng);
    x(i, 2 * k + 1) = 100.0 * unit(rng);
    apply_similarity(x, i, 1.0 + 0.5 * unit(rng), 3.0 * unit(rng), 10.0 * unit(rng),
                     10.0 * unit(rng));
  }
  return x;
}

}  // namespace lumivar::testing
