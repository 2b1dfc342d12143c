// Laying a scene out on a canvas, finding the point under the mouse, and ticks.
#include "plots/plot_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plots/ticks.h"

namespace lumivar::plots {
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();

Scene two_points(bool equal_aspect) {
  Scene s;
  s.title = "t";
  s.bounds = {0, 4, 0, 1};
  s.equal_aspect = equal_aspect;
  s.points = {{{1, 0.5}, {}, 7, 1, 3, 1, false}, {{3, 0.5}, {}, 0, 2, 3, 1, false}};
  s.legend = {{LegendEntry::Kind::kPoint, {}, "group"}};
  return s;
}

TEST(PlotFrame, MapsDataOntoThePlotAreaAndBack) {
  const PlotFrame f(two_points(false), 640, 480);
  const PixelRect& a = f.plot_area();
  EXPECT_GT(a.left, 0);
  EXPECT_LE(a.right(), f.legend_area().left);  // the legend stands to the right
  const Point2 low_left = f.to_pixels({0, 0});
  const Point2 high_right = f.to_pixels({4, 1});
  EXPECT_NEAR(low_left.x, a.left, 640 * kEps);
  EXPECT_NEAR(low_left.y, a.bottom(), 480 * kEps);  // y up in data, down in pixels
  EXPECT_NEAR(high_right.x, a.right(), 640 * kEps);
  EXPECT_NEAR(high_right.y, a.top, 480 * kEps);
  const Point2 back = f.to_data(f.to_pixels({2.5, 0.25}));
  EXPECT_NEAR(back.x, 2.5, 8 * kEps);
  EXPECT_NEAR(back.y, 0.25, 8 * kEps);

  // Equal aspect: a data unit spans as many pixels across as up, and the
  // bounds stay in view.
  const PlotFrame eq(two_points(true), 640, 480);
  const Point2 o = eq.to_pixels({0, 0}), ex = eq.to_pixels({1, 0}), ey = eq.to_pixels({0, 1});
  EXPECT_NEAR(ex.x - o.x, o.y - ey.y, 640 * kEps);
  EXPECT_LE(eq.view().x_min, 0);
  EXPECT_GE(eq.view().x_max, 4);
  EXPECT_LE(eq.view().y_min, 0);
  EXPECT_GE(eq.view().y_max, 1);

  // A canvas smaller than the margins still has a plot area.
  const PlotFrame tiny(two_points(true), 10, 10);
  EXPECT_GE(tiny.plot_area().width, 1);
  EXPECT_GE(tiny.plot_area().height, 1);
}

TEST(PlotFrame, FindsTheRowPointUnderThePixel) {
  const Scene s = two_points(false);
  const PlotFrame f(s, 640, 480);
  const Point2 p = f.to_pixels({1, 0.5});
  EXPECT_EQ(point_at(s, f, {p.x + 4, p.y - 2}), std::optional<std::size_t>(0));
  EXPECT_EQ(point_at(s, f, {p.x + 40, p.y}), std::nullopt);
  // The second point is not a row of the data: nothing to show there.
  EXPECT_EQ(point_at(s, f, f.to_pixels({3, 0.5})), std::nullopt);
}

TEST(Ticks, RoundStepsInsideTheRange) {
  const std::vector<Tick> t = nice_ticks(-0.03, 1.07);
  ASSERT_EQ(t.size(), 6u);
  EXPECT_EQ(t.front().label, "0.0");
  EXPECT_EQ(t[1].label, "0.2");
  EXPECT_EQ(t.back().label, "1.0");
  const std::vector<Tick> big = nice_ticks(0, 1234);
  EXPECT_EQ(big[1].label, "200");
  for (const Tick& k : big) EXPECT_TRUE(k.value >= 0 && k.value <= 1234);
  EXPECT_EQ(nice_ticks(-2.5, -0.5).back().label, "-0.5");
  EXPECT_GE(nice_ticks(0.999, 1.001).size(), 2u);
  EXPECT_EQ(nice_ticks(3, 3).size(), 1u);
  EXPECT_TRUE(nice_ticks(1, 0).empty());
  EXPECT_TRUE(nice_ticks(0, std::numeric_limits<double>::infinity()).empty());
}

}  // namespace
}  // namespace lumivar::plots
