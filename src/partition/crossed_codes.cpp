#include "partition/crossed_codes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

#include "runtime/error.h"

namespace lumivar::partition {

runtime::Matrix cross_codes(const runtime::Matrix& a, const runtime::Matrix& b) {
  const std::size_t n = a.numel();
  if (b.numel() != n)
    runtime::raise("Cannot cross code columns of different lengths (" + std::to_string(n) +
                   " and " + std::to_string(b.numel()) + ").");
  runtime::Matrix out(n, 1, std::numeric_limits<double>::quiet_NaN());
  std::vector<std::size_t> rows;
  rows.reserve(n);
  for (std::size_t k = 1; k <= n; ++k)
    if (!std::isnan(a(k)) && !std::isnan(b(k))) rows.push_back(k);
  const auto less = [&](std::size_t i, std::size_t j) {
    return a(i) < a(j) || (a(i) == a(j) && b(i) < b(j));
  };
  std::sort(rows.begin(), rows.end(), less);
  double code = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i == 0 || less(rows[i - 1], rows[i])) ++code;
    out(rows[i]) = code;
  }
  return out;
}

}  // namespace lumivar::partition
