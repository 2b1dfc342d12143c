#pragma once
// The shared argument-size check of the distribution functions, with scalar
// expansion: scalars are repeated to the size of the first non-scalar
// argument, and non-scalar arguments must all have that size. Cost: O(size of
// the common shape) per expanded scalar; the arguments are copied.
#include <cstddef>
#include <vector>

#include "runtime/matrix.h"

namespace lumivar::distributions {

struct DistchckResult {
  int errorcode = 0;               // 0, or 1 when two non-scalar arguments differ in size
  std::vector<runtime::Matrix> args;  // the examined arguments, adjusted
};

// Examines the first `n` arguments (by name, n is one less than the number of
// results asked for) and returns them adjusted. `nparms` is only tested for 1,
// which returns the first argument unchanged and examines nothing. On a size
// mismatch the check stops at once: errorcode 1, and the arguments from the
// offending one on are returned as given. Raises "Not enough input
// arguments." when fewer than `n` arguments (or none, for nparms 1) are given.
DistchckResult distchck(double nparms, const std::vector<runtime::Matrix>& args, std::size_t n);
// Examines every argument.
DistchckResult distchck(double nparms, const std::vector<runtime::Matrix>& args);

namespace detail {
// distchck over all arguments; a size mismatch raises "Requires non-scalar
// arguments to match in size.", the text every distribution function gives.
std::vector<runtime::Matrix> matched_arguments(double nparms, const std::vector<runtime::Matrix>& args);
}  // namespace detail

}  // namespace lumivar::distributions
