// The shape-space pictures, checked by what the one scene layout draws of
// them on a recording canvas.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "plots/draw_scene.h"
#include "plots/mean_shapes_scene.h"
#include "plots/palette.h"
#include "plots/pc_scatter_scene.h"
#include "plots/recording_canvas.h"
#include "plots/shape_change_scene.h"
#include "plots/shape_space_choices.h"
#include "runtime/error.h"

namespace lumivar::plots {
namespace {

using recorded::Call;
using recorded::RecordingCanvas;

RecordingCanvas drawn(const Scene& s) {
  RecordingCanvas canvas;
  draw_scene(s, PlotFrame(s, 800, 600), canvas);
  return canvas;
}

// Six specimens measured twice: rows 1-6 and 7-12; G1 splits them 3 + 3.
struct SmallStudy {
  runtime::Matrix data = testing::random_landmarks(12, 5, 17);
  geometry::Consensus fit = geometry::getconsensus(data);
  runtime::Matrix g1 = runtime::Matrix::column({1, 1, 1, 2, 2, 2, 1, 1, 1, 2, 2, 2});
  runtime::Matrix g2 = runtime::Matrix::column({1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2});
  runtime::Matrix t = runtime::Matrix::column({1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2});
  shape_space::ShapeSpace space = shape_space::shape_space({&data, &fit.xpt, &fit.y, &g1, &g2, &t, 2});
  shape_space::StudyLabels labels;
  SmallStudy() {
    for (const char* name : {"a", "b", "c", "d", "e", "f", "a", "b", "c", "d", "e", "f"})
      labels.specimens.push_back(name);
    labels.g1 = {{1, "male"}, {2, "female"}};
  }
};

std::size_t count_texts(const RecordingCanvas& c, const std::string& text) {
  std::size_t n = 0;
  for (const Call& k : c.of("text")) n += k.text == text;
  return n;
}

TEST(PcScatterScene, DrawsEveryRowJoinsEachSpecimenAndNamesLevelsAndAxes) {
  const SmallStudy st;
  PcScatterOptions o;
  o.x_component = 2;
  o.y_component = 1;
  o.level_names = &st.labels.g1;
  const Scene s = pc_scatter_scene(st.space.components, st.g1, 6, st.labels, o);
  const RecordingCanvas c = drawn(s);

  // One disc per row (and one per legend level), hover naming the specimen.
  std::size_t rows = 0;
  for (const Call& k : c.of("disc")) rows += k.text.rfind("specimen ", 0) == 0;
  EXPECT_EQ(rows, 12u);
  EXPECT_EQ(s.points[7].specimen, "b");
  EXPECT_EQ(point_text(s.points[7]), "specimen b, row 8");
  // Point of row 3 at (PC2, PC1) scores.
  EXPECT_DOUBLE_EQ(s.points[2].at.x, st.space.components.scores(2, 1));
  EXPECT_DOUBLE_EQ(s.points[2].at.y, st.space.components.scores(2, 0));
  // Six joins, each from a row to the same specimen's second measurement.
  ASSERT_EQ(s.lines.size(), 6u);
  EXPECT_DOUBLE_EQ(s.lines[4].points[1].x, st.space.components.scores(10, 1));
  EXPECT_EQ(c.of("polyline").size(), 6u);

  const auto percent = [&](int j) { return st.space.components.percent(j); };
  char title[64];
  std::snprintf(title, sizeof title, "PC2 (%.1f%% of the variance)", percent(1));
  EXPECT_EQ(count_texts(c, title), 1u);
  std::snprintf(title, sizeof title, "PC1 (%.1f%% of the variance)", percent(0));
  EXPECT_EQ(count_texts(c, title), 1u);
  EXPECT_EQ(count_texts(c, "G1 = male"), 1u);
  EXPECT_EQ(count_texts(c, "G1 = female"), 1u);
  // The two groups in two colours, in code order.
  EXPECT_EQ(s.points[0].colour, group_colour(0));
  EXPECT_EQ(s.points[3].colour, group_colour(1));

  o.y_component = st.space.components.scores.cols() + 1;
  EXPECT_THROW(pc_scatter_scene(st.space.components, st.g1, 6, st.labels, o), runtime::Error);
}

TEST(ShapeChangeScene, VectorsAndGridAreMagnifiedAsTheSubtitleSays) {
  const SmallStudy st;
  const ShapePair pair = level_pair(st.space, Grouping::kG1, 0, 1, st.labels);
  EXPECT_EQ(pair.from.name, "G1 = male");
  EXPECT_EQ(pair.to.name, "G1 = female");
  ShapeChangeOptions o;
  o.from_name = pair.from.name;
  o.to_name = pair.to.name;
  o.magnification = 3;
  o.grid_cells = 8;
  const Scene s = shape_change_scene(pair.from.shape, pair.to.shape, 2, o);
  const RecordingCanvas c = drawn(s);
  EXPECT_EQ(s.title, "Shape change from G1 = male to G1 = female");
  EXPECT_NE(s.subtitle.find("magnified 3 times"), std::string::npos) << s.subtitle;

  // The vectors: from each landmark of the first shape to 3 times its change.
  std::size_t vectors = 0;
  for (const Polyline& l : s.lines) {
    if (!(l.colour == kObservedMarker)) continue;
    const std::size_t j = vectors++;
    const Eigen::Index x = static_cast<Eigen::Index>(2 * j), y = x + 1;
    EXPECT_DOUBLE_EQ(l.points[0].x, pair.from.shape(x));
    EXPECT_NEAR(l.points[1].x, pair.from.shape(x) + 3 * (pair.to.shape(x) - pair.from.shape(x)), 1e-15);
    EXPECT_NEAR(l.points[1].y, pair.from.shape(y) + 3 * (pair.to.shape(y) - pair.from.shape(y)), 1e-15);
  }
  EXPECT_EQ(vectors, 5u);
  // Grid lines in grey, and every landmark numbered once.
  std::size_t grid = 0;
  for (const Polyline& l : s.lines) grid += l.colour == kGridGrey;
  EXPECT_GE(grid, 8u);
  for (int j = 1; j <= 5; ++j) EXPECT_EQ(count_texts(c, std::to_string(j)), 1u) << j;

  EXPECT_THROW(shape_change_scene(pair.from.shape, pair.to.shape, 3, o), runtime::Error);
  o.magnification = 0;
  EXPECT_THROW(shape_change_scene(pair.from.shape, pair.to.shape, 2, o), runtime::Error);
}

TEST(ShapeChangeScene, AnAffineChangeKeepsTheGridStraightAndComponentEndsAreNamed) {
  // From a square to the same square sheared: the grid stays straight.
  Eigen::RowVectorXd from(8), to(8);
  from << -1, -1, 1, -1, 1, 1, -1, 1;
  for (int j = 0; j < 4; ++j) {
    to(2 * j) = from(2 * j) + 0.3 * from(2 * j + 1);
    to(2 * j + 1) = from(2 * j + 1);
  }
  const Scene s = shape_change_scene(from, to, 2, {});
  for (const Polyline& l : s.lines) {
    if (!(l.colour == kGridGrey)) continue;
    const Point2 a = l.points.front(), b = l.points.back();
    for (const Point2& p : l.points)  // collinear with the line's ends
      EXPECT_NEAR((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x), 0, 1e-12);
  }
  const SmallStudy st;
  const ShapePair ends = component_pair(st.space, 1);
  EXPECT_EQ(ends.to.name, "the high end of PC1");
  EXPECT_THROW(component_pair(st.space, 0), runtime::Error);
}

TEST(MeanShapesScene, OutlinesEveryLevelInItsColourWithNumbersOnce) {
  const SmallStudy st;
  const std::vector<NamedShape> means = level_means(st.space, Grouping::kT, st.labels);
  ASSERT_EQ(means.size(), 2u);
  EXPECT_EQ(means[1].name, "T = 2");  // no names for T: its codes
  const Scene s = mean_shapes_scene(means, 2, "Mean shapes of T");
  const RecordingCanvas c = drawn(s);
  const std::vector<Call> outlines = c.of("polyline");
  ASSERT_EQ(outlines.size(), 2u);
  EXPECT_TRUE(outlines[0].closed);
  EXPECT_EQ(outlines[0].colour, group_colour(0));
  EXPECT_EQ(outlines[1].colour, group_colour(1));
  EXPECT_EQ(outlines[1].at.size(), 5u);
  // Landmark 3 of the second mean is where the mean of rows 7-12 puts it.
  double x = 0;
  for (std::size_t i = 7; i <= 12; ++i) x += st.fit.xpt(i, 5);
  EXPECT_NEAR(s.lines[1].points[2].x, x / 6, 1e-15);
  for (int j = 1; j <= 5; ++j) EXPECT_EQ(count_texts(c, std::to_string(j)), 1u) << j;
  EXPECT_EQ(count_texts(c, "T = 1"), 1u);

  std::vector<NamedShape> uneven = means;
  uneven[1].shape.conservativeResize(6);
  EXPECT_THROW(mean_shapes_scene(uneven, 2, "t"), runtime::Error);
  EXPECT_THROW(mean_shapes_scene(means, 3, "t"), runtime::Error);
}

}  // namespace
}  // namespace lumivar::plots
