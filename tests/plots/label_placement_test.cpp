// Labels of crowded pictures are moved apart: on the example study no two
// label boxes of the shape view or the mean shapes overlap at any window
// size, though placed where their scenes put them some would.
#include "plots/label_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/getconsensus.h"
#include "plots/draw_scene.h"
#include "plots/mean_shapes_scene.h"
#include "plots/recording_canvas.h"
#include "plots/shape_scene.h"
#include "support/number_file.h"

namespace lumivar::plots {
namespace {


// Pairs of labels (by index) whose boxes share some area.
std::vector<std::pair<std::size_t, std::size_t>> overlapping(const std::vector<PixelRect>& boxes) {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  for (std::size_t i = 0; i < boxes.size(); ++i)
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      const PixelRect& a = boxes[i];
      const PixelRect& b = boxes[j];
      if (a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom()) out.push_back({i, j});
    }
  return out;
}

// The boxes of the labels as the canvas was asked to draw them, found by text
// in the scene's order (the texts drawn after the data and before the legend).
std::vector<PixelRect> drawn_boxes(const Scene& s, double width, double height) {
  recorded::RecordingCanvas canvas;
  draw_scene(s, PlotFrame(s, width, height), canvas);
  const std::vector<recorded::Call> texts = canvas.of("text");
  std::vector<PixelRect> boxes;
  std::size_t next = 0;
  for (const Label& l : s.labels) {
    while (next < texts.size() && texts[next].text != l.text) ++next;
    if (next == texts.size()) {
      ADD_FAILURE() << "label \"" << l.text << "\" not drawn";
      break;
    }
    boxes.push_back(label_box(texts[next++].at[0], l));
  }
  return boxes;
}

// Where the scene itself puts its labels, before any is moved.
std::vector<PixelRect> own_boxes(const Scene& s, double width, double height) {
  const PlotFrame f(s, width, height);
  std::vector<PixelRect> boxes;
  for (const Label& l : s.labels) {
    const Point2 p = f.to_pixels(l.at);
    boxes.push_back(label_box({p.x + l.dx_px, p.y + l.dy_px}, l));
  }
  return boxes;
}

const std::vector<std::pair<double, double>> kSizes{{320, 240}, {480, 360}, {800, 600}, {1200, 900}};

TEST(LabelPlacement, NoTwoLabelsOfTheExampleShapeViewOrMeanShapesOverlap) {
  // 40 specimens measured twice, 12 landmarks in the plane and a trailing code per row.
  const runtime::Matrix data = testing::read_numbers(std::string(LUMIVAR_EXAMPLES) + "/landmarks.txt");
  ASSERT_EQ(data.rows(), 80u);
  const geometry::Consensus fit = geometry::getconsensus(data);
  std::vector<double> codes;
  for (std::size_t i = 0; i < data.rows(); ++i) codes.push_back(static_cast<double>(1 + i % 2));
  const Scene shapes = shape_scene(fit.xpt, fit.y, runtime::Matrix::column(codes), {"G1", 3});

  // The mean of each measurement (rows 1-40 and 41-80), two outlines that nearly coincide.
  std::vector<NamedShape> means;
  for (std::size_t half = 0; half < 2; ++half) {
    Eigen::RowVectorXd mean = Eigen::RowVectorXd::Zero(24);
    for (std::size_t i = 1; i <= 40; ++i)
      for (std::size_t j = 1; j <= 24; ++j) mean(static_cast<Eigen::Index>(j - 1)) += fit.xpt(half * 40 + i, j) / 40;
    means.push_back({"T = " + std::to_string(half + 1), mean});
  }
  const Scene mean_shapes = mean_shapes_scene(means, 2, "Mean shapes");

  std::size_t crowded = 0;  // sizes at which the scenes' own places overlap
  for (const Scene* s : {&shapes, &mean_shapes}) {
    ASSERT_GE(s->labels.size(), 12u);
    for (const auto& [w, h] : kSizes) {
      crowded += !overlapping(own_boxes(*s, w, h)).empty();
      const auto pairs = overlapping(drawn_boxes(*s, w, h));
      EXPECT_TRUE(pairs.empty()) << s->title << " at " << w << " x " << h << ": \"" << s->labels[pairs[0].first].text
                                 << "\" and \"" << s->labels[pairs[0].second].text << "\"";
    }
  }
  // The example is a real crowd: without moving labels some would cover others.
  EXPECT_GT(crowded, 0u);
}

TEST(LabelPlacement, AFreeLabelKeepsItsPlaceAndACrowdedOneMovesOutwardFirst) {
  Scene s;
  s.bounds = {0, 10, 0, 10};
  Label number;
  number.at = {5, 5};
  number.text = "12";
  number.dx_px = 11;  // to the right of its point, as a landmark on the right of an outline
  number.dy_px = 4;
  number.bold = true;
  s.labels = {number, number, number};
  Label far = number;
  far.at = {1, 9};
  s.labels.push_back(far);
  const PlotFrame f(s, 400, 300);
  const std::vector<PlacedLabel> placed = place_labels(s.labels, f);
  const Point2 p = f.to_pixels({5, 5});
  const Point2 q = f.to_pixels({1, 9});
  EXPECT_EQ(placed[0].at.x, p.x + 11);
  EXPECT_EQ(placed[0].at.y, p.y + 4);
  EXPECT_EQ(placed[3].at.x, q.x + 11);  // alone where it is: not moved
  EXPECT_EQ(placed[3].at.y, q.y + 4);
  // The second steps on along its offset (right and a little down); the
  // third takes the nearest free place, still on the outer side; none
  // covers another.
  EXPECT_GT(placed[1].at.x, placed[0].at.x);
  EXPECT_GE(placed[1].at.y, placed[0].at.y);
  EXPECT_GT(placed[2].at.x, placed[0].at.x);
  std::vector<PixelRect> boxes;
  for (const PlacedLabel& l : placed) boxes.push_back(l.box);
  EXPECT_TRUE(overlapping(boxes).empty());
  // The same scene and frame, the same places.
  const std::vector<PlacedLabel> again = place_labels(s.labels, f);
  for (std::size_t i = 0; i < placed.size(); ++i) {
    EXPECT_EQ(again[i].at.x, placed[i].at.x);
    EXPECT_EQ(again[i].at.y, placed[i].at.y);
  }
}

TEST(LabelPlacement, BoxesGrowWithTheTextAndFollowTheAlignment) {
  Label l;
  l.text = "row 12";
  l.size_px = 10;
  const PixelRect start = label_box({100, 50}, l);
  EXPECT_EQ(start.left, 100);
  EXPECT_LT(start.top, 50 - 7);     // capitals reach about 0.73 em above the baseline
  EXPECT_GT(start.bottom(), 50 + 2);  // descenders about 0.2 em below
  EXPECT_GE(start.width, 6 * 10 * 0.6);  // six characters of at least 0.6 em each
  l.align = Align::kEnd;
  EXPECT_DOUBLE_EQ(label_box({100, 50}, l).right(), 100);
  l.align = Align::kMiddle;
  EXPECT_DOUBLE_EQ(label_box({100, 50}, l).left + start.width / 2, 100);
  l.text = "\u00e9t\u00e9";  // three characters in five bytes
  EXPECT_DOUBLE_EQ(label_box({0, 0}, l).width, start.width / 2);
}

}  // namespace
}  // namespace lumivar::plots
