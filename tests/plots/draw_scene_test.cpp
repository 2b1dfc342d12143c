// The one scene layout, checked on a canvas that records what it is asked
// to draw: the SVG writer and the window's painter only spell these calls.
#include "plots/draw_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "plots/palette.h"
#include "plots/recording_canvas.h"

namespace lumivar::plots {
namespace {

using recorded::Call;
using recorded::RecordingCanvas;

constexpr double kWidth = 500, kHeight = 360;
const Colour kRed{200, 0, 0}, kBlue{0, 0, 200};

// A small plot with everything a scene can hold: axes, a bar, two rows of
// points (one ringed), a consensus point, a line, a label and a legend.
Scene full_scene() {
  Scene s;
  s.title = "Title";
  s.subtitle = "subtitle";
  s.bounds = {0, 10, 0, 5};
  s.x_axis = {"x title", {{0, "0"}, {5, "5"}, {10, "10"}}};
  s.y_axis = {"y title", {{0, "0.0"}, {2.5, "2.5"}}};
  s.rects.push_back({{1, 2, 0, 3}, kBarFill, kBarStroke});
  s.points = {{{1, 1}, kRed, 1, 1, 3, 0.5, false},  {{2, 1}, kRed, 1, 2, 3, 0.5, false},
              {{8, 4}, kBlue, 2, 1, 3, 0.5, false}, {{9, 2}, kBlue, 2, 2, 3, 0.5, true},
              {{7, 1}, kBlue, 2, 3, 3, 0.5, false}, {{5, 3}, kInk, 0, 0, 2, 1, false}};
  s.lines.push_back({{{0, 0}, {10, 5}}, kRed, 1.5, false, true});
  s.labels.push_back({{9, 2}, "row 2", kBlue, Align::kEnd, -4, 6, 10, true});
  s.legend = {{LegendEntry::Kind::kPoint, kRed, "one"},
              {LegendEntry::Kind::kLine, kBlue, "two"},
              {LegendEntry::Kind::kBar, kBarFill, "three"}};
  return s;
}

RecordingCanvas drawn(const Scene& s, std::size_t highlight_row = 0) {
  RecordingCanvas canvas;
  draw_scene(s, PlotFrame(s, kWidth, kHeight), canvas, highlight_row);
  return canvas;
}

bool same(const PixelRect& a, const PixelRect& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

TEST(DrawScene, TheDataIsCutToThePlotAreaBetweenTheFrameAndTheLabels) {
  const Scene s = full_scene();
  const PlotFrame f(s, kWidth, kHeight);
  const RecordingCanvas c = drawn(s);
  ASSERT_FALSE(c.calls.empty());
  EXPECT_EQ(c.calls[0].kind, "clear");
  EXPECT_TRUE(same(c.calls[0].rect, {0, 0, kWidth, kHeight}));
  EXPECT_EQ(c.calls[0].colour, kBackground);
  EXPECT_EQ(c.calls[1].text, "Title");
  EXPECT_TRUE(c.calls[1].style.bold);
  EXPECT_EQ(c.calls[1].at[0].y, f.title_baseline());
  EXPECT_EQ(c.calls[2].text, "subtitle");
  EXPECT_EQ(c.calls[2].at[0].y, f.subtitle_baseline());

  ASSERT_EQ(c.of("frame").size(), 1u);
  EXPECT_TRUE(same(c.of("frame")[0].rect, f.plot_area()));
  ASSERT_EQ(c.of("begin_clip").size(), 1u);
  EXPECT_TRUE(same(c.of("begin_clip")[0].rect, f.plot_area()));
  const std::size_t begin = c.index("begin_clip"), end = c.index("end_clip");
  ASSERT_LT(begin, end);
  for (std::size_t i = 0; i < c.calls.size(); ++i) {
    const std::string& kind = c.calls[i].kind;
    const bool inside = i > begin && i < end;
    if (kind == "polyline" || kind == "circle") {
      EXPECT_TRUE(inside) << i << ' ' << kind;
    }
    if (kind == "text") {
      EXPECT_FALSE(inside) << c.calls[i].text;
    }
  }
  // Data in scene order: bars, then points (a ring right after its disc), then lines.
  EXPECT_EQ(c.calls[begin + 1].kind, "box");
  EXPECT_EQ(c.calls[begin + 2].kind, "disc");
  EXPECT_EQ(c.calls[begin + 5].kind, "disc");
  EXPECT_EQ(c.calls[begin + 6].kind, "circle");
  EXPECT_EQ(c.calls[end - 1].kind, "polyline");
  // The label after the data, in its own colour, moved by its offset.
  const Call& label = c.text_call("row 2");
  const Point2 at = f.to_pixels({9, 2});
  EXPECT_EQ(label.at[0].x, at.x - 4);
  EXPECT_EQ(label.at[0].y, at.y + 6);
  EXPECT_EQ(label.colour, kBlue);
  EXPECT_EQ(label.style.align, Align::kEnd);
  EXPECT_EQ(label.style.size_px, 10);
}

TEST(DrawScene, MarksLieWhereTheFrameMapsTheirData) {
  const Scene s = full_scene();
  const PlotFrame f(s, kWidth, kHeight);
  const RecordingCanvas c = drawn(s);
  const std::vector<Call> discs = c.of("disc");
  ASSERT_EQ(discs.size(), s.points.size() + 1);  // and the legend's point key
  for (std::size_t i = 0; i < s.points.size(); ++i) {
    const Point2 at = f.to_pixels(s.points[i].at);
    EXPECT_EQ(discs[i].at[0].x, at.x);
    EXPECT_EQ(discs[i].at[0].y, at.y);
    EXPECT_EQ(discs[i].radius, s.points[i].radius_px);
    EXPECT_EQ(discs[i].extent, Extent::kMeasured);
  }
  // Hovering names the row and the landmark; a point of no row says nothing.
  EXPECT_EQ(discs[3].text, "row 2, landmark 2");
  EXPECT_EQ(discs[5].text, "");
  EXPECT_EQ(point_text({{}, {}, 4, 0}), "row 4");
  const Call ring = c.of("circle").at(0);
  EXPECT_EQ(ring.radius, 3 + 3.0);
  EXPECT_FALSE(ring.fill.has_value());

  const Call bar = c.of("box").at(0);  // the scene's rect, top-left corner first
  const Point2 top_left = f.to_pixels({1, 3}), bottom_right = f.to_pixels({2, 0});
  EXPECT_EQ(bar.rect.left, top_left.x);
  EXPECT_EQ(bar.rect.top, top_left.y);
  EXPECT_DOUBLE_EQ(bar.rect.right(), bottom_right.x);
  EXPECT_DOUBLE_EQ(bar.rect.bottom(), bottom_right.y);
  const Call line = c.of("polyline").at(0);
  EXPECT_DOUBLE_EQ(line.at[1].x, f.plot_area().right());
  EXPECT_DOUBLE_EQ(line.at[1].y, f.plot_area().top);
  EXPECT_TRUE(line.line.dashed);
  EXPECT_FALSE(line.closed);
}

TEST(DrawScene, TicksStandOnTheirValuesWithTheirLabelsBesideAndTheYTitleUpright) {
  const Scene s = full_scene();
  const PlotFrame f(s, kWidth, kHeight);
  const PixelRect& a = f.plot_area();
  const RecordingCanvas c = drawn(s);
  for (const Tick& t : s.x_axis.ticks) {
    const double x = f.to_pixels({t.value, 0}).x;
    const auto tick = std::find_if(c.calls.begin(), c.calls.end(), [&](const Call& k) {
      return k.kind == "line" && k.at[0].x == x && k.at[1].x == x && k.at[0].y == a.bottom();
    });
    ASSERT_NE(tick, c.calls.end()) << t.label;
    EXPECT_GT(tick->at[1].y, a.bottom());  // pointing down, out of the plot area
    const Call& label = c.text_call(t.label);
    EXPECT_EQ(label.at[0].x, x);
    EXPECT_GT(label.at[0].y, tick->at[1].y);
    EXPECT_EQ(label.style.align, Align::kMiddle);
  }
  for (const Tick& t : s.y_axis.ticks) {
    const double y = f.to_pixels({0, t.value}).y;
    const auto tick = std::find_if(c.calls.begin(), c.calls.end(), [&](const Call& k) {
      return k.kind == "line" && k.at[0].y == y && k.at[1].y == y && k.at[1].x == a.left;
    });
    ASSERT_NE(tick, c.calls.end()) << t.label;
    EXPECT_LT(tick->at[0].x, a.left);
    const Call& label = c.text_call(t.label);
    EXPECT_LT(label.at[0].x, tick->at[0].x);
    EXPECT_EQ(label.style.align, Align::kEnd);
  }
  const Call& x_title = c.text_call("x title");
  EXPECT_EQ(x_title.at[0].x, a.left + a.width / 2);
  EXPECT_GT(x_title.at[0].y, c.text_call("5").at[0].y);
  EXPECT_LE(x_title.at[0].y, kHeight);
  EXPECT_FALSE(x_title.style.upright);
  const Call& y_title = c.text_call("y title");
  EXPECT_TRUE(y_title.style.upright);
  EXPECT_EQ(y_title.at[0].y, a.top + a.height / 2);
  EXPECT_LT(y_title.at[0].x, c.text_call("2.5").at[0].x - text_width("2.5", 11));

  Scene bare = full_scene();  // no ticks: no axis drawn
  bare.x_axis = bare.y_axis = {};
  EXPECT_TRUE(drawn(bare).of("line").size() == 1);  // the legend's line key only
}

TEST(DrawScene, LegendKeysStackInRowsOfFixedSizeWithTheirTextsInsideTheCanvas) {
  const Scene s = full_scene();
  const PlotFrame f(s, kWidth, kHeight);
  const PixelRect& legend = f.legend_area();
  const RecordingCanvas c = drawn(s);
  ASSERT_GT(c.index("end_clip"), 0u);
  std::vector<Call> keys;  // after the data and the labels
  for (std::size_t i = c.index("end_clip") + 1; i < c.calls.size(); ++i)
    if (c.calls[i].kind != "text") keys.push_back(c.calls[i]);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].kind, "disc");
  EXPECT_EQ(keys[0].extent, Extent::kFixed);
  EXPECT_EQ(keys[1].kind, "line");
  EXPECT_EQ(keys[2].kind, "box");
  EXPECT_EQ(keys[2].extent, Extent::kFixed);
  const double centres[] = {keys[0].at[0].y, keys[1].at[0].y, keys[2].rect.top + keys[2].rect.height / 2};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(centres[i], legend.top + PlotFrame::kLegendRow * (static_cast<double>(i) + 0.5));
    const Call& text = c.text_call(s.legend[i].text);
    EXPECT_GT(text.at[0].x, keys[0].at[0].x + keys[0].radius);  // right of every key
    EXPECT_LE(text.at[0].x + text_width(s.legend[i].text, text.style.size_px), kWidth);
    EXPECT_GE(text.at[0].x, f.plot_area().right());
  }
  EXPECT_EQ(keys[0].colour, kRed);
  EXPECT_EQ(keys[1].colour, kBlue);
  EXPECT_EQ(*keys[2].fill, kBarFill);
}

TEST(DrawScene, AHighlightedRowIsJoinedInLandmarkOrderOnTopOfTheData) {
  const Scene s = full_scene();
  const PlotFrame f(s, kWidth, kHeight);
  const RecordingCanvas plain = drawn(s), lit = drawn(s, 2);
  const std::size_t end = lit.index("end_clip");
  ASSERT_EQ(lit.calls.size(), plain.calls.size() + 4);  // an outline and three edged points
  const Call& outline = lit.calls[end - 4];
  EXPECT_EQ(outline.kind, "polyline");
  EXPECT_TRUE(outline.closed);
  EXPECT_TRUE(outline.line.rounded);
  EXPECT_EQ(outline.colour, kBlue);
  ASSERT_EQ(outline.at.size(), 3u);
  for (std::size_t j = 0; j < 3; ++j) {
    const Point2 at = f.to_pixels(s.points[2 + j].at);
    EXPECT_EQ(outline.at[j].x, at.x);
    EXPECT_EQ(outline.at[j].y, at.y);
    const Call& point = lit.calls[end - 3 + j];
    EXPECT_EQ(point.kind, "circle");
    EXPECT_EQ(point.at[0].x, at.x);
    EXPECT_GT(point.radius, s.points[2 + j].radius_px);
    EXPECT_EQ(point.fill, kBlue);  // opaque, in the row's colour
    EXPECT_EQ(point.colour, kInk);
  }
  EXPECT_EQ(drawn(s, 7).calls.size(), plain.calls.size());  // a row that has no points
}

// A scene of several views holds each row once per view; the highlighted
// row is outlined in each view on its own, never across from one to the next.
TEST(DrawScene, HighlightedRowIsOutlinedOncePerView) {
  Scene s;
  s.bounds = {0, 10, 0, 5};
  for (double shift : {0.0, 5.0})
    for (std::size_t j = 1; j <= 3; ++j)
      s.points.push_back({{shift + static_cast<double>(j), static_cast<double>(j)}, kRed, 4, j, 3, 1, false});
  const RecordingCanvas c = drawn(s, 4);
  const std::vector<Call> outlines = c.of("polyline");
  ASSERT_EQ(outlines.size(), 2u);
  const PlotFrame f(s, kWidth, kHeight);
  for (std::size_t v = 0; v < 2; ++v) {
    ASSERT_EQ(outlines[v].at.size(), 3u);
    EXPECT_EQ(outlines[v].at[0].x, f.to_pixels(s.points[3 * v].at).x);
    EXPECT_TRUE(outlines[v].closed);
  }
  EXPECT_EQ(c.of("circle").size(), 6u);
}

}  // namespace
}  // namespace lumivar::plots
