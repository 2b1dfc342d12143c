#pragma once
// The code column of a crossed factor: two rows share a crossed code exactly
// when both of their codes are equal, whatever the codes' values (negative,
// fractional, huge: codes are labels).
#include "runtime/matrix.h"

namespace lumivar::partition {

// Numbers the distinct (a, b) pairs 1, 2, ... in lexicographic order of
// (a, b), element by element; a row with a NaN code gets NaN (it shares no
// group). For non-negative whole codes this orders the cells as the
// crossing a * (max(b) + 1) + b does. 0 and -0 are one code. Raises when the
// columns differ in length. O(n log n).
runtime::Matrix cross_codes(const runtime::Matrix& a, const runtime::Matrix& b);

}  // namespace lumivar::partition
