#pragma once
// Centroid of one landmark configuration.
//
// A configuration is a row of L values holding k = floor(L/2) landmarks with
// interleaved coordinates x1, y1, x2, y2, ...; a value past the 2k coordinates
// (the trailing value of the landmark data) belongs to no landmark.
#include <cstddef>

#include "runtime/matrix.h"

namespace lumivar::geometry {

// The centroid [cx, cy] (1x2, in the unit of the coordinates) of the
// configuration `x`, a row or a column of L values read in element order.
// No landmark (L < 2) gives [NaN, NaN]. O(L).
runtime::Matrix centpos(const runtime::Matrix& x);

namespace detail {
// The same over L contiguous values holding k = floor(L / d) landmarks of d
// coordinates each (d = 2 or 3, interleaved x1, y1[, z1], x2, ...); writes
// the mean of axis a to c[a]. Landmarks are added in order and the sums
// divided by k, so every caller gets the same rounding as centpos itself.
void centroid(const double* row, std::size_t length, double* c, std::size_t d = 2);
}  // namespace detail

}  // namespace lumivar::geometry
