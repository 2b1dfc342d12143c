#include "permutation/relabelling.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include <gtest/gtest.h>

namespace lumivar::permutation {
namespace {

TEST(Relabelling, IsAnOrderingAndDependsOnlyOnSeedAndIndex) {
  constexpr std::size_t mg = 37;
  Relabelling a, b, c;
  draw_relabelling(7, 12, mg, a);
  // Drawing others in between, into a buffer of another size, changes nothing.
  draw_relabelling(7, 11, 5, b);
  draw_relabelling(7, 12, mg, b);
  EXPECT_EQ(a.order, b.order);
  EXPECT_EQ(a.swap, b.swap);

  std::vector<std::uint32_t> sorted = a.order;
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::uint32_t> all(mg);
  std::iota(all.begin(), all.end(), 0u);
  EXPECT_EQ(sorted, all);
  ASSERT_EQ(a.swap.size(), mg);

  draw_relabelling(7, 13, mg, c);
  EXPECT_NE(a.order, c.order);
  draw_relabelling(8, 12, mg, c);
  EXPECT_NE(a.order, c.order);

  const Relabelling id = identity_relabelling(4);
  EXPECT_EQ(id.order, (std::vector<std::uint32_t>{0, 1, 2, 3}));
  EXPECT_EQ(id.swap, (std::vector<std::uint8_t>(4, 0)));
}

TEST(Relabelling, OrderingsAndExchangesAreUniform) {
  // 3 specimens: each of the 6 orderings should come up about n/6 times, and
  // each exchange half the time. Bounds are 5 standard deviations, so the
  // fixed seed passes them by a wide margin unless the draws are biased.
  constexpr int n = 60000;
  std::array<int, 6> orderings{};
  int swaps = 0;
  Relabelling r;
  for (int i = 0; i < n; ++i) {
    draw_relabelling(2024, static_cast<std::uint64_t>(i), 3, r);
    const int code = static_cast<int>(r.order[0] * 2 + (r.order[1] > r.order[2] ? 1 : 0));
    ++orderings[static_cast<std::size_t>(code)];
    swaps += r.swap[0] + r.swap[1] + r.swap[2];
  }
  const double expect = n / 6.0;
  const double sd = std::sqrt(n * (1.0 / 6) * (5.0 / 6));
  for (int count : orderings) EXPECT_NEAR(count, expect, 5 * sd);
  EXPECT_NEAR(swaps, 1.5 * n, 5 * std::sqrt(3.0 * n * 0.25));
}

}  // namespace
}  // namespace lumivar::permutation
