// The shape view's scene and the distances that rank its rows.
#include "plots/shape_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <set>

#include "geometry/getconsensus.h"
#include "geometry/landmark_fixtures.h"
#include "geometry/consensus_distance.h"
#include "plots/palette.h"
#include "runtime/error.h"

namespace lumivar::plots {

using geometry::consensus_distances;
using geometry::farthest_first;
using geometry::RowDistance;
namespace {

constexpr double kEps = std::numeric_limits<double>::epsilon();

// Every place the scene draws at, in data coordinates.
std::vector<Point2> drawn_places(const Scene& s) {
  std::vector<Point2> out;
  for (const ScenePoint& p : s.points) out.push_back(p.at);
  for (const Polyline& l : s.lines) out.insert(out.end(), l.points.begin(), l.points.end());
  for (const Label& l : s.labels) out.push_back(l.at);
  return out;
}

TEST(ShapeScene, OnePointPerRowAndLandmarkColouredByGroupInsideTheBounds) {
  const std::size_t m = 12, k = 6;
  const geometry::Consensus fit = geometry::getconsensus(testing::random_landmarks(m, k, 3));
  std::vector<double> code_list;
  for (std::size_t i = 0; i < m; ++i) code_list.push_back(std::vector<double>{5, 2, 9}[i % 3]);
  const Scene s = shape_scene(fit.xpt, fit.y, runtime::Matrix::column(code_list), {"G2", 0});

  std::set<std::pair<std::size_t, std::size_t>> seen;
  std::map<double, Colour> colour_of_code;
  for (const ScenePoint& p : s.points) {
    if (p.row == 0) continue;
    EXPECT_TRUE(seen.insert({p.row, p.landmark}).second) << p.row << " " << p.landmark;
    EXPECT_EQ(p.at.x, fit.xpt(p.row, 2 * p.landmark - 1));
    EXPECT_EQ(p.at.y, fit.xpt(p.row, 2 * p.landmark));
    EXPECT_FALSE(p.ringed);  // no outliers asked for
    colour_of_code.emplace(code_list[p.row - 1], p.colour);
    EXPECT_EQ(p.colour, colour_of_code.at(code_list[p.row - 1]));
  }
  EXPECT_EQ(seen.size(), m * k);
  // Colours follow the ascending order of the codes, whatever order the rows give them in.
  EXPECT_EQ(colour_of_code.at(2), kGroupColours[0]);
  EXPECT_EQ(colour_of_code.at(5), kGroupColours[1]);
  EXPECT_EQ(colour_of_code.at(9), kGroupColours[2]);
  ASSERT_EQ(s.legend.size(), 4u);
  EXPECT_EQ(s.legend[0].text, "G2 = 2");
  EXPECT_EQ(s.legend[2].text, "G2 = 9");
  EXPECT_EQ(s.legend[2].colour, kGroupColours[2]);
  EXPECT_EQ(s.legend[3].text, "consensus");

  for (const Point2& p : drawn_places(s)) EXPECT_TRUE(s.bounds.contains(p)) << p.x << " " << p.y;
  EXPECT_TRUE(s.equal_aspect);
  EXPECT_EQ(s.title, "Superimposed configurations by G2");

  // The consensus: one closed outline through its landmarks in order, each numbered.
  ASSERT_EQ(s.lines.size(), 1u);
  const Polyline& outline = s.lines[0];
  EXPECT_TRUE(outline.closed);
  ASSERT_EQ(outline.points.size(), k);
  for (std::size_t j = 1; j <= k; ++j) {
    EXPECT_EQ(outline.points[j - 1].x, fit.y(2 * j - 1));
    EXPECT_EQ(outline.points[j - 1].y, fit.y(2 * j));
    EXPECT_EQ(s.labels[j - 1].text, std::to_string(j));
    EXPECT_EQ(s.labels[j - 1].at.x, fit.y(2 * j - 1));
  }
}

TEST(ShapeScene, ASwappedLandmarkPairMakesItsRowTheRingedOutlier) {
  const std::size_t m = 20, k = 8, bad = 13;
  runtime::Matrix x = testing::random_landmarks(m, k, 11, 0.02);
  for (std::size_t c : {5u, 6u}) std::swap(x(bad, c), x(bad, c + 2));  // landmarks 3 and 4 swapped
  const geometry::Consensus fit = geometry::getconsensus(x);

  const std::vector<RowDistance> ranked = farthest_first(consensus_distances(fit.xpt, fit.y));
  ASSERT_EQ(ranked.size(), m);
  EXPECT_EQ(ranked[0].row, bad);
  EXPECT_TRUE(ranked[0].landmark == 3 || ranked[0].landmark == 4) << ranked[0].landmark;
  for (std::size_t i = 1; i < m; ++i) EXPECT_GE(ranked[i - 1].distance, ranked[i].distance);

  const Scene s = shape_scene(fit.xpt, fit.y, runtime::Matrix(m, 1, 1.0), {"T", 1});
  std::size_t rings = 0;
  for (const ScenePoint& p : s.points) {
    if (!p.ringed) continue;
    ++rings;
    EXPECT_EQ(p.row, bad);
    EXPECT_EQ(p.landmark, ranked[0].landmark);
  }
  EXPECT_EQ(rings, 1u);
  EXPECT_EQ(s.labels.back().text, "row 13");
  ASSERT_EQ(s.lines.size(), 2u);  // the consensus and the outlier's own dashed outline
  EXPECT_TRUE(s.lines[1].dashed);
  EXPECT_EQ(s.lines[1].points.size(), k);
  EXPECT_NE(s.subtitle.find("the row farthest from the consensus (13)"), std::string::npos) << s.subtitle;
  for (const Point2& p : drawn_places(s)) EXPECT_TRUE(s.bounds.contains(p));
  // The dashed outline has its key in the legend, after the consensus.
  ASSERT_FALSE(s.legend.empty());
  EXPECT_EQ(s.legend.back().kind, LegendEntry::Kind::kDashedLine);
  EXPECT_EQ(s.legend.back().text, "the ringed row's outline");
  // Both axes carry ticks inside the picture's bounds, in the data's units.
  ASSERT_GE(s.x_axis.ticks.size(), 2u);
  ASSERT_GE(s.y_axis.ticks.size(), 2u);
  for (const Tick& t : s.x_axis.ticks) EXPECT_TRUE(t.value >= s.bounds.x_min && t.value <= s.bounds.x_max);
  for (const Tick& t : s.y_axis.ticks) EXPECT_TRUE(t.value >= s.bounds.y_min && t.value <= s.bounds.y_max);
}

TEST(ConsensusDistance, IdenticalSpecimensLieOnTheConsensusAndSizesMustAgree) {
  runtime::Matrix x = testing::random_landmarks(1, 5, 4);
  x = x.stacked(x).stacked(x);
  const geometry::Consensus fit = geometry::getconsensus(x);
  for (const RowDistance& r : consensus_distances(fit.xpt, fit.y))
    EXPECT_LE(r.distance, 16 * kEps);  // coordinates of unit size, a few roundings each

  EXPECT_THROW(consensus_distances(fit.xpt, runtime::Matrix(1, 9)), runtime::Error);
  EXPECT_THROW(shape_scene(fit.xpt, fit.y, runtime::Matrix::column({1, 2})), runtime::Error);

  // A code that is not a number gets a colour of its own, after the others.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Scene s = shape_scene(fit.xpt, fit.y, runtime::Matrix::column({nan, 4, nan}));
  // Two groups, the consensus, and the key of the ringed rows' dashed outlines.
  ASSERT_EQ(s.legend.size(), 4u);
  EXPECT_EQ(s.legend[0].text, "G1 = 4");
  EXPECT_EQ(s.legend[3].kind, LegendEntry::Kind::kDashedLine);
  EXPECT_EQ(s.points[0].colour, kGroupColours[1]);
}

}  // namespace
}  // namespace lumivar::plots
