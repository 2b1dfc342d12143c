// The shape view of three-dimensional configurations: three orthogonal
// projections side by side, each the same points seen along another axis.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "geometry/landmark_fixtures_3d.h"
#include "plots/shape_scene.h"

namespace lumivar::plots {
namespace {

TEST(ShapeScene3d, ThreeProjectionsSideBySideWithoutOverlap) {
  const std::size_t m = 10, k = 6;
  const geometry::Consensus fit = testing::fit_3d(testing::random_landmarks_3d(m, k, 8, 0.1));
  ShapeSceneOptions o{"G1", 1, 3};
  const Scene s = shape_scene(fit.xpt, fit.y, runtime::Matrix(m, 1, 1.0), o);

  // Every row and landmark three times; the first m k points the front view.
  std::map<std::pair<std::size_t, std::size_t>, std::vector<Point2>> seen;
  for (const ScenePoint& p : s.points) seen[{p.row, p.landmark}].push_back(p.at);
  ASSERT_EQ(seen.size(), (m + 1) * k);  // rows and the consensus (row 0)
  for (const auto& [key, places] : seen) {
    ASSERT_EQ(places.size(), 3u);
    const auto [i, j] = key;
    const double x = i == 0 ? fit.y(3 * j - 2) : fit.xpt(i, 3 * j - 2);
    const double y = i == 0 ? fit.y(3 * j - 1) : fit.xpt(i, 3 * j - 1);
    const double z = i == 0 ? fit.y(3 * j) : fit.xpt(i, 3 * j);
    // Front shows (x, y), side (z, y) and top (x, z), each moved across by
    // the same step: y of front and side agree, x of front and top differ by
    // twice what front and side differ by.
    EXPECT_EQ(places[0].x, x);
    EXPECT_EQ(places[0].y, y);
    EXPECT_EQ(places[1].y, y);
    EXPECT_EQ(places[2].y, z);
    const double step = places[1].x - z;
    EXPECT_GT(step, 0);
    EXPECT_DOUBLE_EQ(places[2].x - x, 2 * step);
  }
  // The views' boxes do not overlap across.
  double right_of[3] = {-1e9, -1e9, -1e9}, left_of[3] = {1e9, 1e9, 1e9};
  std::map<std::pair<std::size_t, std::size_t>, int> count;
  for (const ScenePoint& p : s.points) {
    const int v = count[{p.row, p.landmark}]++;
    right_of[v] = std::max(right_of[v], p.at.x);
    left_of[v] = std::min(left_of[v], p.at.x);
  }
  EXPECT_LT(right_of[0], left_of[1]);
  EXPECT_LT(right_of[1], left_of[2]);

  // A consensus outline per view, and the one ringed row's outline per view.
  ASSERT_EQ(s.lines.size(), 6u);
  for (std::size_t v = 0; v < 3; ++v) EXPECT_FALSE(s.lines[v].dashed);
  for (std::size_t v = 3; v < 6; ++v) EXPECT_EQ(s.lines[v].points.size(), k);
  EXPECT_EQ(std::count_if(s.points.begin(), s.points.end(), [](const ScenePoint& p) { return p.ringed; }), 3);
  for (const char* name : {"front (x, y)", "side (z, y)", "top (x, z)"})
    EXPECT_EQ(std::count_if(s.labels.begin(), s.labels.end(), [&](const Label& l) { return l.text == name; }), 1)
        << name;
  for (const ScenePoint& p : s.points) EXPECT_TRUE(s.bounds.contains(p.at));
  for (const Label& l : s.labels) EXPECT_TRUE(s.bounds.contains(l.at)) << l.text;
  EXPECT_EQ(s.subtitle.substr(0, 30), "10 rows, 6 landmarks (3-D); ri");
}

}  // namespace
}  // namespace lumivar::plots
