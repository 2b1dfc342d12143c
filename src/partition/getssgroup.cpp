#include "partition/getssgroup.h"

#include <string>

#include "partition/getsstotal.h"
#include "runtime/error.h"

namespace lumivar::partition {

namespace detail {

void check_codes(const runtime::Matrix& group, std::size_t m) {
  if (group.numel() < m) {
    runtime::raise("The grouping holds " + std::to_string(group.numel()) +
                   " code(s) but the distance matrix has " + std::to_string(m) +
                   " rows; every row needs a code.");
  }
}

}  // namespace detail

double getssgroup(const runtime::Matrix& d, const runtime::Matrix& group, double npg) {
  detail::check_distance_matrix(d);
  const std::size_t m = d.rows();
  detail::check_codes(group, m);
  double y = 0.0;
  for (std::size_t i = 1; i < m; ++i) {
    const double gi = group(i);
    for (std::size_t j = i + 1; j <= m; ++j)
      if (group(j) == gi) y += d(i, j);
  }
  return y / npg;
}

}  // namespace lumivar::partition
