#pragma once
// Configurations whose landmarks all lie on one straight line. In three
// dimensions such a configuration can be turned freely about that line
// without changing its fit, so its rotation in the superimposition is a
// choice (rotation_3d.h takes the smallest turn) that the user should know of.
#include <cstddef>
#include <vector>

#include "runtime/matrix.h"

namespace lumivar::geometry {

// The 1-based rows of `data` (n x (d k + 1), the trailing column ignored)
// whose landmarks lie on one line up to rounding: the second largest
// principal axis of the centred landmarks is below 1e-7 of the largest.
// Rows whose landmarks all coincide or are not finite are not listed (they
// are refused elsewhere). O(n k).
std::vector<std::size_t> collinear_rows(const runtime::Matrix& data, std::size_t d);

}  // namespace lumivar::geometry
