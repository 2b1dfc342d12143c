#pragma once
// How far each superimposed configuration lies from the consensus, to find
// specimens worth a second look: a digitising mistake (a misplaced or
// swapped landmark) moves its row far from the mean shape.
#include <cstddef>
#include <vector>

#include "runtime/matrix.h"

namespace lumivar::geometry {

struct RowDistance {
  std::size_t row = 0;       // 1-based row of the data
  double distance = 0;       // Procrustes distance to the consensus
  std::size_t landmark = 0;  // 1-based landmark that lies farthest from its consensus position
};

// `xpt`: m x n superimposed configurations (n = d k + 1 for landmarks of d = 2
// or 3 coordinates; the trailing column is ignored), `consensus`: 1 x n, the
// mean shape they were rotated onto.
// The distance of row i is the square root of the sum over the d k
// coordinates of (xpt(i, c) - consensus(c))^2, the distance the analysis
// itself measures between rows, taken to the mean. Rows come in data
// order. Raises when the sizes disagree. Cost O(m k).
std::vector<RowDistance> consensus_distances(const runtime::Matrix& xpt,
                                             const runtime::Matrix& consensus, std::size_t d = 2);

// The same rows ranked farthest first (ties: lower row first); rows whose
// distance is not a number come last.
std::vector<RowDistance> farthest_first(std::vector<RowDistance> rows);

}  // namespace lumivar::geometry
