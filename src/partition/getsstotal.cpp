#include "partition/getsstotal.h"

#include <string>

#include "runtime/error.h"

namespace lumivar::partition {

namespace detail {

void check_distance_matrix(const runtime::Matrix& d) {
  if (d.cols() < d.rows()) {
    runtime::raise("The distance matrix is " + std::to_string(d.rows()) + " x " +
                   std::to_string(d.cols()) + "; it should have one row and one column per "
                   "specimen.");
  }
}

void stop_if_cancelled(const std::atomic<bool>* cancel) {
  if (cancel != nullptr && cancel->load(std::memory_order_relaxed))
    runtime::raise_cancelled("The analysis was cancelled while it summed the distances; nothing was written.");
}

PairsOfRow pairs_of_row(const runtime::Matrix& d, std::size_t i, Reading reading) {
  const std::size_t m = d.rows();
  // d(i, j) lies at (j - 1) m + i - 1, d(j, i) at (i - 1) m + j - 1.
  if (reading == Reading::kSymmetric) return {d.data() + (i - 1) * m + i, 1};
  return {d.data() + i * m + (i - 1), m};
}

}  // namespace detail

double getsstotal(const runtime::Matrix& d, double ngroup, const std::atomic<bool>* cancel,
                  Reading reading) {
  detail::check_distance_matrix(d);
  const std::size_t m = d.rows();
  double y = 0.0;
  for (std::size_t i = 1; i < m; ++i) {
    detail::stop_if_cancelled(cancel);
    const detail::PairsOfRow row = detail::pairs_of_row(d, i, reading);
    for (std::size_t k = 0; k < m - i; ++k) y += row.first[k * row.step];
  }
  return y / ngroup;
}

}  // namespace lumivar::partition
