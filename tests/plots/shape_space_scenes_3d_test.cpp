// The pictures of shape change and mean shapes of a study in three
// dimensions (examples/3d/): the shape view's front, side and top
// projections, checked by what is drawn on a recording canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "geometry/landmark_fixtures_3d.h"
#include "plots/draw_scene.h"
#include "plots/mean_shapes_scene.h"
#include "plots/palette.h"
#include "plots/recording_canvas.h"
#include "plots/shape_change_scene.h"
#include "plots/shape_space_choices.h"
#include "runtime/error.h"
#include "support/number_file.h"

namespace lumivar::plots {
namespace {

using recorded::Call;
using recorded::RecordingCanvas;

std::string example_3d(const std::string& name) { return std::string(LUMIVAR_EXAMPLES) + "/3d/" + name; }

// 24 specimens measured at two ages (rows 1-24 and 25-48), 10 landmarks in space.
struct Study3d {
  runtime::Matrix data = testing::read_numbers(example_3d("landmarks.txt"));
  runtime::Matrix t = testing::read_numbers(example_3d("reps.txt"));
  runtime::Matrix g1, g2;
  geometry::Consensus fit;
  shape_space::ShapeSpace space;
  Study3d() {
    const runtime::Matrix groups = testing::read_numbers(example_3d("groups.txt"));
    g1 = runtime::Matrix(data.rows(), 1);
    g2 = runtime::Matrix(data.rows(), 1);
    for (std::size_t i = 1; i <= data.rows(); ++i) {
      g1(i) = groups((i - 1) % groups.rows() + 1, 1);
      g2(i) = groups((i - 1) % groups.rows() + 1, 2);
    }
    fit = testing::fit_3d(data);
    space = shape_space::shape_space({&data, &fit.xpt, &fit.y, &g1, &g2, &t, 3});
  }
};

RecordingCanvas drawn(const Scene& s) {
  RecordingCanvas canvas;
  draw_scene(s, PlotFrame(s, 800, 600), canvas);
  return canvas;
}

std::size_t count_texts(const RecordingCanvas& c, const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(c.calls.begin(), c.calls.end(), [&](const Call& k) { return k.kind == "text" && k.text == text; }));
}

// Coordinate c (0 x, 1 y, 2 z) of landmark j (1-based) of a flat 3-D shape.
double coordinate(const Eigen::RowVectorXd& shape, std::size_t j, std::size_t c) {
  return shape(static_cast<Eigen::Index>(3 * (j - 1) + c));
}

TEST(ShapeChangeScene3d, VectorsInThreeProjectionsWithoutAGrid) {
  const Study3d st;
  ASSERT_EQ(st.data.rows(), 48u);
  ASSERT_EQ(st.space.landmarks, 10u);
  const ShapePair pair = level_pair(st.space, Grouping::kT, 0, 1, {});
  ShapeChangeOptions o;
  o.from_name = pair.from.name;
  o.to_name = pair.to.name;
  o.magnification = 2;
  const Scene s = shape_change_scene(pair.from.shape, pair.to.shape, 3, o);
  const RecordingCanvas c = drawn(s);
  EXPECT_EQ(s.title, "Shape change from T = 1 to T = 2");
  EXPECT_NE(s.subtitle.find("magnified 2 times"), std::string::npos) << s.subtitle;
  EXPECT_NE(s.subtitle.find("no thin-plate-spline grid"), std::string::npos) << s.subtitle;
  // No grid, and the legend does not offer one.
  EXPECT_EQ(std::count_if(s.lines.begin(), s.lines.end(), [](const Polyline& l) { return l.colour == kGridGrey; }), 0);
  EXPECT_EQ(s.legend.size(), 2u);

  // One vector per landmark in each of the front (x, y), side (z, y) and top
  // (x, z) views, from the first shape to twice its change; the views are
  // moved across by one step each.
  ASSERT_EQ(s.lines.size(), 30u);
  const double step = s.lines[10].points[0].x - coordinate(pair.from.shape, 1, 2);
  EXPECT_GT(step, 0);
  const std::size_t across[3] = {0, 2, 0}, up[3] = {1, 1, 2};
  for (std::size_t v = 0; v < 3; ++v)
    for (std::size_t j = 1; j <= 10; ++j) {
      const Polyline& l = s.lines[v * 10 + j - 1];
      const auto to = [&](std::size_t axis) {
        return coordinate(pair.from.shape, j, axis) +
               2 * (coordinate(pair.to.shape, j, axis) - coordinate(pair.from.shape, j, axis));
      };
      const double shift = static_cast<double>(v) * step;
      // Tolerance: a few ulps of the shift added to coordinates below 1.
      EXPECT_NEAR(l.points[0].x, coordinate(pair.from.shape, j, across[v]) + shift, 1e-14) << v << " " << j;
      EXPECT_EQ(l.points[0].y, coordinate(pair.from.shape, j, up[v]));
      EXPECT_NEAR(l.points[1].x, to(across[v]) + shift, 1e-14) << v << " " << j;
      EXPECT_NEAR(l.points[1].y, to(up[v]), 1e-15) << v << " " << j;
    }
  // Everything lies in the bounds (the views are apart: ShapeScene3d).
  for (const ScenePoint& p : s.points) EXPECT_TRUE(s.bounds.contains(p.at));
  for (const Label& l : s.labels) EXPECT_TRUE(s.bounds.contains(l.at)) << l.text;
  // Each landmark numbered once per view, each view named once.
  for (int j = 1; j <= 10; ++j) EXPECT_EQ(count_texts(c, std::to_string(j)), 3u) << j;
  for (const char* name : {"front (x, y)", "side (z, y)", "top (x, z)"}) EXPECT_EQ(count_texts(c, name), 1u) << name;

  // Coordinates that are not whole landmarks of the dimension are refused.
  EXPECT_THROW(shape_change_scene(pair.from.shape.head(29), pair.to.shape.head(29), 3, o), runtime::Error);
}

TEST(MeanShapesScene3d, EachLevelOutlinedInEveryProjectionAtItsRowsMean) {
  const Study3d st;
  const std::vector<NamedShape> means = level_means(st.space, Grouping::kG1, {});
  ASSERT_EQ(means.size(), 2u);
  const Scene s = mean_shapes_scene(means, 3, "Mean shapes of G1");
  const RecordingCanvas c = drawn(s);
  EXPECT_EQ(s.subtitle, "2 mean shapes, 10 landmarks (3-D)");
  // An outline per level and view, closed, in the level's colour.
  const std::vector<Call> outlines = c.of("polyline");
  ASSERT_EQ(outlines.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_TRUE(outlines[i].closed);
    EXPECT_EQ(outlines[i].colour, group_colour(i / 3)) << i;
    EXPECT_EQ(outlines[i].at.size(), 10u);
  }
  // Landmark 4 of the second level, averaged here from the rows whose G1 is
  // its code: x and y in the front view, y again in the side view.
  double x = 0, y = 0, rows = 0;
  for (std::size_t i = 1; i <= st.data.rows(); ++i)
    if (st.g1(i) == 2) {
      x += st.fit.xpt(i, 10);
      y += st.fit.xpt(i, 11);
      ++rows;
    }
  ASSERT_GT(rows, 0);
  // Tolerance: the sum of `rows` values below 1 in another order.
  EXPECT_NEAR(s.lines[3].points[3].x, x / rows, 1e-15);
  EXPECT_NEAR(s.lines[3].points[3].y, y / rows, 1e-15);
  EXPECT_EQ(s.lines[4].points[3].y, s.lines[3].points[3].y);
  // Numbers beside the first level only, once per view.
  for (int j = 1; j <= 10; ++j) EXPECT_EQ(count_texts(c, std::to_string(j)), 3u) << j;
  for (const char* name : {"front (x, y)", "side (z, y)", "top (x, z)"}) EXPECT_EQ(count_texts(c, name), 1u) << name;
  for (const Label& l : s.labels) EXPECT_TRUE(s.bounds.contains(l.at)) << l.text;
}

}  // namespace
}  // namespace lumivar::plots
