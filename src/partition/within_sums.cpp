#include "partition/within_sums.h"

#include <array>
#include <vector>

#include "partition/getssgroup.h"
#include "partition/getsstotal.h"

namespace lumivar::partition {

WithinSums within_sums_of_distances(const Matrix& d, const Codings& codings, const Divisors& divisors,
                                    const std::atomic<bool>* cancel) {
  detail::check_distance_matrix(d);
  const std::size_t m = d.rows();
  for (const Matrix& c : codings) detail::check_codes(c, m);
  // Each row's seven codes side by side.
  std::vector<PerEffect<double>> codes(m);
  for (std::size_t j = 0; j < m; ++j)
    for (int k = 0; k < kEffectCount; ++k) codes[j][k] = codings[k](j + 1);
  WithinSums y{};
  for (std::size_t i = 1; i < m; ++i) {
    detail::stop_if_cancelled(cancel);
    const detail::PairsOfRow row = detail::pairs_of_row(d, i, Reading::kSymmetric);
    const PerEffect<double>& ci = codes[i - 1];
    for (std::size_t j = i + 1; j <= m; ++j) {
      const double v = row.first[j - i - 1];
      const PerEffect<double>& cj = codes[j - 1];
      for (int k = 0; k < kEffectCount; ++k)
        if (cj[k] == ci[k]) y[k] += v;
    }
  }
  for (int k = 0; k < kEffectCount; ++k) y[k] /= divisors[k];
  return y;
}

}  // namespace lumivar::partition
