#pragma once
// A canvas that records what the scene layout asks it to draw, for tests of
// pictures by what is drawn rather than by pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "plots/canvas.h"

namespace lumivar::plots::recorded {

struct Call {
  std::string kind;  // the Canvas method
  std::vector<Point2> at;
  PixelRect rect;
  double radius = 0;
  std::string text;  // drawn text, or a disc's hover text
  Colour colour;
  std::optional<Colour> fill;
  Extent extent = Extent::kMeasured;
  LineStyle line;
  TextStyle style;
  bool closed = false;
};

class RecordingCanvas final : public Canvas {
 public:
  std::vector<Call> calls;

  void clear(double width, double height, Colour c) override {
    Call& k = add("clear");
    k.rect = {0, 0, width, height};
    k.colour = c;
  }
  void frame(const PixelRect& r, Colour c) override {
    Call& k = add("frame");
    k.rect = r;
    k.colour = c;
  }
  void box(const PixelRect& r, Colour fill, Colour edge, double, Extent extent) override {
    Call& k = add("box");
    k.rect = r;
    k.colour = edge;
    k.fill = fill;
    k.extent = extent;
  }
  void line(Point2 a, Point2 b, const LineStyle& style) override {
    Call& k = add("line");
    k.at = {a, b};
    k.colour = style.colour;
    k.line = style;
  }
  void polyline(const std::vector<Point2>& points, bool closed, const LineStyle& style) override {
    Call& k = add("polyline");
    k.at = points;
    k.colour = style.colour;
    k.line = style;
    k.closed = closed;
  }
  void disc(Point2 centre, double radius, Colour fill, double, const std::string& hover,
            Extent extent) override {
    Call& k = add("disc");
    k.at = {centre};
    k.radius = radius;
    k.text = hover;
    k.colour = fill;
    k.extent = extent;
  }
  void circle(Point2 centre, double radius, std::optional<Colour> fill, Colour edge, double) override {
    Call& k = add("circle");
    k.at = {centre};
    k.radius = radius;
    k.colour = edge;
    k.fill = fill;
  }
  void text(Point2 at, const std::string& text, const TextStyle& style) override {
    Call& k = add("text");
    k.at = {at};
    k.text = text;
    k.colour = style.colour;
    k.style = style;
  }
  void begin_clip(const PixelRect& r) override { add("begin_clip").rect = r; }
  void end_clip() override { add("end_clip"); }

  Call& add(const char* kind) {
    calls.emplace_back();
    calls.back().kind = kind;
    return calls.back();
  }

  std::vector<Call> of(const std::string& kind) const {
    std::vector<Call> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out), [&](const Call& c) { return c.kind == kind; });
    return out;
  }
  const Call& text_call(const std::string& text) const {
    const auto it = std::find_if(calls.begin(), calls.end(),
                                 [&](const Call& c) { return c.kind == "text" && c.text == text; });
    EXPECT_NE(it, calls.end()) << "no text \"" << text << '"';
    return it == calls.end() ? calls.front() : *it;
  }
  std::size_t index(const std::string& kind) const {
    const auto it = std::find_if(calls.begin(), calls.end(), [&](const Call& c) { return c.kind == kind; });
    return static_cast<std::size_t>(it - calls.begin());
  }
};

}  // namespace lumivar::plots::recorded
