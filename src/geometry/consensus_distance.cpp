#include "geometry/consensus_distance.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "runtime/error.h"

namespace lumivar::geometry {

std::vector<RowDistance> consensus_distances(const runtime::Matrix& xpt,
                                             const runtime::Matrix& consensus, std::size_t d) {
  const std::size_t n = xpt.cols();
  if (d == 2 && (n < 3 || n % 2 == 0 || consensus.numel() != n))
    runtime::raise("The superimposed configurations have " + std::to_string(n) +
                   " columns and the consensus " + std::to_string(consensus.numel()) +
                   " values; both need the same odd number, at least 3.");
  if (d != 2 && (d != 3 || n < 4 || n % 3 != 1 || consensus.numel() != n))
    runtime::raise("The superimposed configurations have " + std::to_string(n) +
                   " columns and the consensus " + std::to_string(consensus.numel()) +
                   " values; both need the same number, 3k + 1 for three-dimensional landmarks.");
  const std::size_t k = (n - 1) / d;
  std::vector<RowDistance> out;
  out.reserve(xpt.rows());
  for (std::size_t i = 1; i <= xpt.rows(); ++i) {
    RowDistance r;
    r.row = i;
    double sum = 0, worst = -1;
    for (std::size_t j = 1; j <= k; ++j) {
      double d2 = 0;
      for (std::size_t a = 0; a < d; ++a) {
        const double t = xpt(i, d * (j - 1) + a + 1) - consensus(d * (j - 1) + a + 1);
        d2 += t * t;
      }
      sum += d2;
      if (d2 > worst) {
        worst = d2;
        r.landmark = j;
      }
    }
    r.distance = std::sqrt(sum);
    if (r.landmark == 0) r.landmark = 1;  // every distance was NaN
    out.push_back(r);
  }
  return out;
}

std::vector<RowDistance> farthest_first(std::vector<RowDistance> rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const RowDistance& a, const RowDistance& b) {
    if (std::isnan(a.distance) || std::isnan(b.distance)) return !std::isnan(a.distance) && std::isnan(b.distance);
    return a.distance > b.distance;
  });
  return rows;
}

}  // namespace lumivar::geometry
