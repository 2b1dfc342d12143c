// The window's painter puts each mark where PlotFrame maps it, so that the
// pixel the mouse points at is the point plots::point_at names.
#include "gui/scene_painter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <string>

#include "plots/palette.h"

namespace lumivar::gui {
namespace {

using plots::Colour;
using plots::Point2;

constexpr int kWidth = 412, kHeight = 349;

QImage painted(const plots::Scene& s, std::size_t highlight_row = 0) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::magenta);  // anything left unpainted shows
  QPainter painter(&image);
  paint_scene(painter, s, plots::PlotFrame(s, kWidth, kHeight), highlight_row);
  return image;
}

// Colour of the pixel holding `at` (canvas pixels), as "#rrggbb" for readable failures.
std::string pixel(const QImage& image, Point2 at) {
  const QColor c = image.pixelColor(static_cast<int>(std::floor(at.x)), static_cast<int>(std::floor(at.y)));
  return Colour{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                static_cast<std::uint8_t>(c.blue())}
      .hex();
}

// `c` at `opacity` over the white background, channel by channel.
std::string over_white(Colour c, double opacity) {
  const auto mix = [&](std::uint8_t v) {
    return static_cast<std::uint8_t>(std::lround(opacity * v + (1 - opacity) * 255));
  };
  return Colour{mix(c.r), mix(c.g), mix(c.b)}.hex();
}

// Two hex colours that differ by at most `tolerance` in every channel
// (blending rounds each channel on its own).
bool near(const std::string& a, const std::string& b, int tolerance = 2) {
  for (int i = 1; i < 7; i += 2)
    if (std::abs(std::stoi(a.substr(i, 2), nullptr, 16) - std::stoi(b.substr(i, 2), nullptr, 16)) > tolerance)
      return false;
  return true;
}

// A triangle of one row with a bar behind it, no axes and no legend.
plots::Scene triangle_scene(double opacity) {
  plots::Scene s;
  s.title = "test";
  s.bounds = {0, 100, 0, 80};
  s.rects.push_back({{60, 90, 10, 30}, plots::kBarFill, plots::kBarStroke});
  const Colour c = plots::group_colour(1);
  s.points = {{{10, 10}, c, 1, 1, 3, opacity, false},
              {{40, 10}, c, 1, 2, 3, opacity, false},
              {{25, 60}, c, 1, 3, 3, opacity, true}};
  return s;
}

TEST(ScenePainter, MarksLieWhereTheFrameMapsThem) {
  const plots::Scene s = triangle_scene(0.7);
  const plots::PlotFrame f(s, kWidth, kHeight);
  const QImage image = painted(s);
  const std::string white = plots::kBackground.hex();
  EXPECT_EQ(pixel(image, {1, 1}), white);  // the canvas is filled
  EXPECT_EQ(pixel(image, {kWidth - 1.0, kHeight - 1.0}), white);
  for (const plots::ScenePoint& p : s.points) {
    const Point2 at = f.to_pixels(p.at);
    EXPECT_TRUE(near(pixel(image, at), over_white(p.colour, 0.7))) << pixel(image, at);
    // Just outside the disc (and, for the ringed point, inside its ring): background.
    EXPECT_EQ(pixel(image, {at.x + p.radius_px + 1.2, at.y}), white) << p.landmark;
  }
  const Point2 ring = f.to_pixels(s.points[2].at);
  EXPECT_TRUE(near(pixel(image, {ring.x + s.points[2].radius_px + 3, ring.y}), plots::kInk.hex(), 160));
  const Point2 bar = f.to_pixels({75, 20});
  EXPECT_TRUE(near(pixel(image, bar), plots::kBarFill.hex())) << pixel(image, bar);
  // The plot area's border is drawn, its inside left to the data.
  EXPECT_NE(pixel(image, {f.plot_area().left + 0.5, f.plot_area().top + 40}), white);
  EXPECT_EQ(pixel(image, {f.plot_area().left + 4, f.plot_area().top + 40}), white);
}

TEST(ScenePainter, AHighlightedRowIsOpaqueAndJoined) {
  const plots::Scene s = triangle_scene(0.5);
  const plots::PlotFrame f(s, kWidth, kHeight);
  const Colour c = s.points[0].colour;
  const Point2 edge = f.to_pixels({25, 10});  // half way from landmark 1 to landmark 2
  const Point2 first = f.to_pixels(s.points[0].at);
  const QImage plain = painted(s), lit = painted(s, 1), other = painted(s, 2);
  EXPECT_EQ(pixel(plain, edge), plots::kBackground.hex());
  EXPECT_TRUE(near(pixel(plain, first), over_white(c, 0.5))) << pixel(plain, first);
  EXPECT_TRUE(near(pixel(lit, edge), c.hex())) << pixel(lit, edge);
  EXPECT_TRUE(near(pixel(lit, first), c.hex())) << pixel(lit, first);
  EXPECT_EQ(other, plain);  // a row that has no points changes nothing
}

}  // namespace
}  // namespace lumivar::gui
