#include "input/mergegroups.h"

#include <cmath>
#include <limits>
#include <string>

#include "runtime/error.h"

namespace lumivar::input {

runtime::Matrix mergegroups(const runtime::Matrix& group1, const runtime::Matrix& group2) {
  if (group1.numel() != group2.numel())
    runtime::raise("Cannot cross code columns of different lengths (" +
                   std::to_string(group1.numel()) + " and " + std::to_string(group2.numel()) + ").");
  // The largest value, NaN codes left out as a maximum leaves them out.
  double max2 = -std::numeric_limits<double>::infinity();
  bool any = false;
  for (double v : group2.values()) {
    if (!std::isnan(v) && (!any || v > max2)) {
      max2 = v;
      any = true;
    }
  }
  if (!any) max2 = std::numeric_limits<double>::quiet_NaN();
  runtime::Matrix out = group1;
  for (std::size_t k = 1; k <= out.numel(); ++k) out(k) = group1(k) * (max2 + 1) + group2(k);
  return out;
}

}  // namespace lumivar::input
