#include "partition/sums_from_coordinates.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cmath>
#include <string>
#include <vector>

#include <tbb/parallel_for.h>

#include "runtime/error.h"

namespace lumivar::partition {

namespace {

// Neumaier's compensated sum: the running rounding error is kept apart and
// added back at the end, so the error does not grow with the number of terms.
class CompensatedSum {
 public:
  void add(double x) {
    const double t = sum_ + x;
    correction_ += std::abs(sum_) >= std::abs(x) ? (sum_ - t) + x : (x - t) + sum_;
    sum_ = t;
  }
  double value() const { return sum_ + correction_; }

 private:
  double sum_ = 0.0;
  double correction_ = 0.0;
};

// Group number of each of the first m codes, in ascending order of the
// codes: codes that compare equal share a group (so 0 and -0 do), NaN is in
// none (-1). Sorting rather than hashing keeps it O(m log m) whatever the
// codes, and the numbering does not depend on the order of the rows.
std::vector<int> group_numbers(const runtime::Matrix& codes, std::size_t m, std::size_t& groups) {
  const double* c = codes.data();
  std::vector<std::uint32_t> order;
  order.reserve(m);
  for (std::size_t i = 0; i < m; ++i)
    if (!std::isnan(c[i])) order.push_back(static_cast<std::uint32_t>(i));
  std::sort(order.begin(), order.end(), [c](std::uint32_t a, std::uint32_t b) { return c[a] < c[b]; });
  std::vector<int> out(m, -1);
  int group = -1;
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (k == 0 || c[order[k]] != c[order[k - 1]]) ++group;
    out[order[k]] = group;
  }
  groups = static_cast<std::size_t>(group + 1);
  return out;
}

// Sum over the groups of n_g times the squared distances of the group's rows
// from its mean: the sum of the within-group pairwise squared distances.
double pair_sum(const runtime::Matrix& xpt, const std::vector<int>& group, std::size_t groups) {
  const std::size_t m = xpt.rows();
  const std::size_t p = xpt.cols() == 0 ? 0 : xpt.cols() - 1;
  std::vector<double> rows(groups, 0.0);
  for (int g : group)
    if (g >= 0) rows[static_cast<std::size_t>(g)] += 1;
  std::vector<CompensatedSum> squares(groups);
  std::vector<CompensatedSum> column(groups);
  std::vector<double> mean(groups);
  // Column by column: the coordinates are stored column after column, and a
  // group needs only its mean of the column in hand.
  for (std::size_t c = 0; c < p; ++c) {
    const double* x = xpt.data() + c * m;
    std::fill(column.begin(), column.end(), CompensatedSum{});
    for (std::size_t i = 0; i < m; ++i)
      if (group[i] >= 0) column[static_cast<std::size_t>(group[i])].add(x[i]);
    for (std::size_t g = 0; g < groups; ++g) mean[g] = column[g].value() / rows[g];
    for (std::size_t i = 0; i < m; ++i) {
      if (group[i] < 0) continue;
      const auto g = static_cast<std::size_t>(group[i]);
      const double d = x[i] - mean[g];
      squares[g].add(d * d);
    }
  }
  CompensatedSum total;
  for (std::size_t g = 0; g < groups; ++g) total.add(rows[g] * squares[g].value());
  return total.value();
}

void check_codes(const runtime::Matrix& xpt, const runtime::Matrix& codes) {
  if (codes.numel() < xpt.rows())
    runtime::raise("The grouping holds " + std::to_string(codes.numel()) +
                   " code(s) but the superimposed data has " + std::to_string(xpt.rows()) +
                   " rows; every row needs a code.");
}

}  // namespace

double within_sum_from_coordinates(const runtime::Matrix& xpt, const runtime::Matrix& codes,
                                   double divisor) {
  check_codes(xpt, codes);
  std::size_t groups = 0;
  const std::vector<int> group = group_numbers(codes, xpt.rows(), groups);
  return pair_sum(xpt, group, groups) / divisor;
}

double total_sum_from_coordinates(const runtime::Matrix& xpt, double divisor) {
  const std::vector<int> one_group(xpt.rows(), 0);
  return pair_sum(xpt, one_group, xpt.rows() > 0 ? 1 : 0) / divisor;
}

Partition partition_from_coordinates(const runtime::Matrix& xpt, const runtime::Matrix& group,
                                     const runtime::Matrix& repgroup, const DesignSizes& sizes) {
  const Codings c = make_codings(group, repgroup, xpt.rows());
  const Divisors d = make_divisors(sizes);
  // The seven within sums and, as one more task, the total.
  WithinSums w{};
  double sstotal = 0;
  tbb::parallel_for(0, kEffectCount + 1, [&](int k) {
    if (k == kEffectCount)
      sstotal = total_sum_from_coordinates(xpt, sizes.m);
    else
      w[k] = within_sum_from_coordinates(xpt, c[k], d[k]);
  });
  return partition_from_sums(sstotal, w, sizes);
}

}  // namespace lumivar::partition
