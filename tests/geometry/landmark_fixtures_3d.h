#pragma once
// Seeded three-dimensional landmark data for the geometry tests: noisy copies
// of one base shape, each turned by its own random rotation, scaled and moved;
// and their superimposition in space.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>

#include <Eigen/Geometry>

#include "geometry/getconsensus.h"
#include "runtime/matrix.h"

namespace lumivar::testing {

// A rotation drawn uniformly from all rotations (a normalised Gaussian quaternion).
inline Eigen::Matrix3d random_rotation(std::mt19937_64& rng) {
  std::normal_distribution<double> g;
  Eigen::Quaterniond q(g(rng), g(rng), g(rng), g(rng));
  return q.normalized().toRotationMatrix();
}

// Moves row i of `x` (x, y, z interleaved, one trailing value) by
// x -> s R x + t.
inline void apply_similarity_3d(runtime::Matrix& x, std::size_t i, double s, const Eigen::Matrix3d& r,
                                const Eigen::Vector3d& t) {
  const std::size_t k = (x.cols() - 1) / 3;
  for (std::size_t j = 0; j < k; ++j) {
    const Eigen::Vector3d p(x(i, 3 * j + 1), x(i, 3 * j + 2), x(i, 3 * j + 3));
    const Eigen::Vector3d q = s * (r * p) + t;
    for (int a = 0; a < 3; ++a) x(i, 3 * j + 1 + static_cast<std::size_t>(a)) = q(a);
  }
}

// m specimens of k landmarks in 3-D (m x (3k + 1)); `noise` is the scatter
// around the base shape, whose landmarks lie about one unit from its centre.
inline runtime::Matrix random_landmarks_3d(std::size_t m, std::size_t k, std::uint64_t seed,
                                           double noise = 0.1) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<double> base(3 * k);
  for (double& v : base) v = unit(rng);
  runtime::Matrix x(m, 3 * k + 1);
  for (std::size_t i = 1; i <= m; ++i) {
    for (std::size_t j = 1; j <= 3 * k; ++j) x(i, j) = base[j - 1] + noise * unit(rng);
    x(i, 3 * k + 1) = static_cast<double>(i);
    const double s = 1.0 + 0.5 * unit(rng);
    const Eigen::Matrix3d r = random_rotation(rng);
    apply_similarity_3d(x, i, s, r, Eigen::Vector3d(10 * unit(rng), 10 * unit(rng), 10 * unit(rng)));
  }
  return x;
}

// The superimposition of `x` as landmarks in space.
inline geometry::Consensus fit_3d(const runtime::Matrix& x, int threads = 0) {
  geometry::SuperimpositionSettings s;
  s.dimensions = 3;
  s.threads = threads;
  return geometry::getconsensus(x, s);
}

}  // namespace lumivar::testing
