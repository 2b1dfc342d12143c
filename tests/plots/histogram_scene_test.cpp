// Binning and the permutation distribution's scene.
#include "plots/histogram_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "plots/histogram.h"

namespace lumivar::plots {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// F-like values: ratios of scaled chi-square draws, seeded.
std::vector<double> f_like(std::size_t n, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::chi_squared_distribution<double> num(3), den(20);
  std::vector<double> out;
  for (std::size_t i = 0; i < n; ++i) out.push_back((num(rng) / 3) / (den(rng) / 20));
  return out;
}

TEST(Histogram, EveryFiniteValueFallsInTheBinThatCoversIt) {
  std::vector<double> v = f_like(999, 5);
  v.push_back(kNaN);
  v.push_back(kInf);
  const double also = 40;  // beyond all of them, as a strong effect's observed F is
  const Histogram h = make_histogram(v, also);
  ASSERT_EQ(h.counts.size(), 32u);  // ceil(sqrt(999))
  EXPECT_EQ(h.non_finite, 2u);
  EXPECT_LE(h.lo, also);
  EXPECT_GE(h.hi(), also * (1 - 4 * std::numeric_limits<double>::epsilon()));  // a few roundings in lo + n width
  // Recount bin by bin over half-open intervals; the last one takes the
  // rest (its right end may round below the largest value).
  std::size_t total = 0;
  for (std::size_t i = 0; i < h.counts.size(); ++i) {
    const double a = h.lo + h.width * static_cast<double>(i), b = a + h.width;
    std::size_t n = 0;
    for (double x : v)
      if (std::isfinite(x) && x >= a && (x < b || i + 1 == h.counts.size())) ++n;
    EXPECT_EQ(h.counts[i], n) << "bin " << i;
    total += h.counts[i];
  }
  EXPECT_EQ(total, 999u);

  EXPECT_EQ(make_histogram({2, 2, 2}, kNaN).counts.size(), 10u);  // one value: a unit range round it
  EXPECT_EQ(make_histogram({2, 2, 2}, kNaN).lo, 1.5);
  EXPECT_TRUE(make_histogram({kNaN, kInf}, 1).counts.empty());
}

TEST(HistogramScene, BarsAddUpToTheRelabellingsAndTheMarkerStandsAtTheObservedF) {
  const std::vector<double> f = f_like(2000, 9);
  const double observed = 3.5;
  const Scene s = histogram_scene(f, observed, "G1xG2");
  double bars = 0;
  for (const Rect& r : s.rects) {
    EXPECT_EQ(r.box.y_min, 0);
    EXPECT_TRUE(s.bounds.contains({r.box.x_min, r.box.y_max}));
    EXPECT_TRUE(s.bounds.contains({r.box.x_max, r.box.y_min}));
    bars += r.box.y_max;
  }
  EXPECT_EQ(bars, 2000);
  ASSERT_EQ(s.lines.size(), 1u);
  const Polyline& marker = s.lines[0];
  ASSERT_EQ(marker.points.size(), 2u);
  EXPECT_EQ(marker.points[0].x, observed);
  EXPECT_EQ(marker.points[1].x, observed);
  EXPECT_EQ(marker.points[0].y, 0);
  EXPECT_EQ(marker.points[1].y, s.bounds.y_max);
  EXPECT_EQ(s.title, "Permutation distribution of F for G1xG2");
  EXPECT_FALSE(s.x_axis.ticks.empty());
  EXPECT_FALSE(s.y_axis.ticks.empty());
  for (const Tick& t : s.x_axis.ticks) EXPECT_TRUE(t.value >= s.bounds.x_min && t.value <= s.bounds.x_max);

  // The P value: counted as the report counts it, or the one given.
  std::vector<double> small;
  for (int i = 0; i < 99; ++i) small.push_back(i);
  EXPECT_EQ(histogram_scene(small, 94.5, "G1").subtitle,
            "observed F = 94.5, P = 0.0500 from 99 relabellings");  // (1 + 4) / 100
  EXPECT_EQ(histogram_scene(small, 94.5, "G1", 0.25).subtitle,
            "observed F = 94.5, P = 0.2500 from 99 relabellings");
}

TEST(HistogramScene, NonFiniteValuesAreCountedApartAndANonFiniteObservedFHasNoMarker) {
  const Scene s = histogram_scene({1, 2, kNaN, 3, kInf}, kNaN, "G2");
  double bars = 0;
  for (const Rect& r : s.rects) bars += r.box.y_max;
  EXPECT_EQ(bars, 3);
  EXPECT_TRUE(s.lines.empty());
  // A statistic that could not be computed reads NaN, as in the reports.
  EXPECT_EQ(s.subtitle, "observed F = NaN, P = 0.1667 from 5 relabellings; 2 gave no finite F");
  EXPECT_EQ(histogram_scene({1, 2}, kInf, "G2", kNaN).subtitle,
            "observed F = Inf, P = NaN from 2 relabellings");

  const Scene none = histogram_scene({}, 2.0, "T(rep)");
  EXPECT_TRUE(none.rects.empty());
  EXPECT_LT(none.bounds.x_min, 2.0);
  EXPECT_GT(none.bounds.x_max, 2.0);
  EXPECT_GT(none.bounds.height(), 0);
}

}  // namespace
}  // namespace lumivar::plots
