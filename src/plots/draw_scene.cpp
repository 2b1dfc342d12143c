#include "plots/draw_scene.h"

#include <vector>

#include "plots/label_placement.h"
#include "plots/palette.h"

namespace lumivar::plots {

namespace {

constexpr double kTickPx = 5;                             // length of a tick mark
constexpr double kSmallText = PlotFrame::kSubtitleSize;  // ticks, axis titles, legend

// Text in ink: titles, ticks and the legend.
void text(Canvas& c, Point2 at, const std::string& s, double size, Align align = Align::kStart,
          bool bold = false) {
  c.text(at, s, {size, kInk, align, bold, false});
}

void axes(const Scene& s, const PlotFrame& f, Canvas& c) {
  const PixelRect& a = f.plot_area();
  const LineStyle tick{kInk, 1};
  for (const Tick& t : s.x_axis.ticks) {
    const double x = f.to_pixels({t.value, f.view().y_min}).x;
    c.line({x, a.bottom()}, {x, a.bottom() + kTickPx}, tick);
    text(c, {x, a.bottom() + kTickPx + kSmallText + 2}, t.label, kSmallText, Align::kMiddle);
  }
  for (const Tick& t : s.y_axis.ticks) {
    const double y = f.to_pixels({f.view().x_min, t.value}).y;
    c.line({a.left - kTickPx, y}, {a.left, y}, tick);
    text(c, {a.left - kTickPx - 3, y + 4}, t.label, kSmallText, Align::kEnd);
  }
  if (!s.x_axis.title.empty())
    text(c, {a.left + a.width / 2, a.bottom() + kTickPx + 2 * kSmallText + 12}, s.x_axis.title, kSmallText,
         Align::kMiddle);
  if (!s.y_axis.title.empty())
    c.text({PlotFrame::kPadding + kSmallText - 2, a.top + a.height / 2}, s.y_axis.title,
           {kSmallText, kInk, Align::kMiddle, false, true});
}

void data(const Scene& s, const PlotFrame& f, Canvas& c) {
  for (const Rect& r : s.rects) {
    const Point2 a = f.to_pixels({r.box.x_min, r.box.y_max});
    const Point2 b = f.to_pixels({r.box.x_max, r.box.y_min});
    c.box({a.x, a.y, b.x - a.x, b.y - a.y}, r.fill, r.stroke, 0.5, Extent::kMeasured);
  }
  for (const ScenePoint& p : s.points) {
    const Point2 at = f.to_pixels(p.at);
    c.disc(at, p.radius_px, p.colour, p.opacity, point_text(p), Extent::kMeasured);
    if (p.ringed) c.circle(at, p.radius_px + 3, std::nullopt, kInk, 1.5);
  }
  for (const Polyline& l : s.lines) {
    std::vector<Point2> pixels;
    pixels.reserve(l.points.size());
    for (const Point2& q : l.points) pixels.push_back(f.to_pixels(q));
    c.polyline(pixels, l.closed, {l.colour, l.width_px, l.dashed, false});
  }
}

// One configuration brought forward: its outline in its own colour and its
// points opaque, a little larger, with a dark edge.
void highlight(const Scene& s, const PlotFrame& f, Canvas& c, std::size_t row) {
  // One outline per view of the row: a scene of several projections holds
  // the row's landmarks once per view, each time in landmark order.
  std::vector<Point2> outline;
  Colour colour;
  std::size_t last = 0;
  for (const ScenePoint& p : s.points) {
    if (p.row != row) continue;
    if (p.landmark <= last && !outline.empty()) {
      c.polyline(outline, true, {colour, 2, false, true});
      outline.clear();
    }
    last = p.landmark;
    outline.push_back(f.to_pixels(p.at));
    colour = p.colour;
  }
  if (outline.empty()) return;
  c.polyline(outline, true, {colour, 2, false, true});
  for (const ScenePoint& p : s.points)
    if (p.row == row) c.circle(f.to_pixels(p.at), p.radius_px + 1.5, p.colour, kInk, 1);
}

void legend(const Scene& s, const PlotFrame& f, Canvas& c) {
  const PixelRect& a = f.legend_area();
  for (std::size_t i = 0; i < s.legend.size(); ++i) {
    const LegendEntry& e = s.legend[i];
    const double y = a.top + PlotFrame::kLegendRow * (static_cast<double>(i) + 0.5);
    const double x = a.left + 8;
    switch (e.kind) {
      case LegendEntry::Kind::kPoint:
        c.disc({x, y}, 4, e.colour, 1, "", Extent::kFixed);
        break;
      case LegendEntry::Kind::kLine:
        c.line({x - 7, y}, {x + 7, y}, {e.colour, 2});
        break;
      case LegendEntry::Kind::kDashedLine:
        c.line({x - 7, y}, {x + 7, y}, {e.colour, 2, true});
        break;
      case LegendEntry::Kind::kBar:
        c.box({x - 6, y - 5, 12, 10}, e.colour, kBarStroke, 0.5, Extent::kFixed);
        break;
    }
    text(c, {x + 14, y + 4}, e.text, kSmallText);
  }
}

}  // namespace

std::string point_text(const ScenePoint& p) {
  if (p.row == 0) return {};
  std::string text = (p.specimen.empty() ? "" : "specimen " + p.specimen + ", ") + "row " + std::to_string(p.row);
  if (p.landmark > 0) text += ", landmark " + std::to_string(p.landmark);
  return text;
}

void draw_scene(const Scene& s, const PlotFrame& f, Canvas& c, std::size_t highlight_row) {
  c.clear(f.width(), f.height(), kBackground);
  text(c, {PlotFrame::kPadding, f.title_baseline()}, s.title, PlotFrame::kTitleSize, Align::kStart, true);
  if (!s.subtitle.empty()) text(c, {PlotFrame::kPadding, f.subtitle_baseline()}, s.subtitle, kSmallText);
  c.frame(f.plot_area(), kGridGrey);
  axes(s, f, c);
  c.begin_clip(f.plot_area());
  data(s, f, c);
  if (highlight_row > 0) highlight(s, f, c, highlight_row);
  c.end_clip();
  const std::vector<PlacedLabel> places = place_labels(s.labels, f);
  for (std::size_t i = 0; i < s.labels.size(); ++i) {
    const Label& l = s.labels[i];
    c.text(places[i].at, l.text, {l.size_px, l.colour, l.align, l.bold, false});
  }
  legend(s, f, c);
}

}  // namespace lumivar::plots
