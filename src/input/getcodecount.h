#pragma once
// Counting the distinct codes of one column of group codes, with a warning
// box for every code whose count differs from that of the first code met.
#include <vector>

#include "runtime/matrix.h"
#include "runtime/window_runtime.h"

namespace lumivar::input {

struct CodeCounts {
  std::vector<double> codes;   // distinct codes in order of first appearance
  std::vector<double> counts;  // rows carrying each code
};

// The distinct codes and their counts (exact equality of the doubles, so
// every NaN is a code of its own). O(n log n) time, O(n) memory.
CodeCounts count_codes(const runtime::Matrix& grouplist);

// Shows "Mismatch in counts between groups %i and %i" titled "Error in a
// group code" for every code whose count differs from the first code's (at
// most 20 boxes, then one saying how many more codes mismatch), and returns
// the number of distinct codes.
double getcodecount(runtime::WindowRuntime& ui, const runtime::Matrix& grouplist);

}  // namespace lumivar::input
