#include "plots/label_placement.h"

#include <array>
#include <cmath>
#include <numbers>

namespace lumivar::plots {

namespace {

// Average advance of a character in ems, rounded up from the sans-serif
// fonts' digits (0.64 regular, 0.70 bold), so estimated boxes are not too small.
constexpr double kCharEm = 0.64, kBoldCharEm = 0.72;
constexpr double kAscentEm = 0.8, kDescentEm = 0.22;
// How far a crowded label may move, in steps.
constexpr int kSteps = 16;

// Characters in UTF-8 text: bytes that do not continue a character.
double characters(const std::string& text) {
  double n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

bool overlap(const PixelRect& a, const PixelRect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

bool free_at(const PixelRect& box, const std::vector<PlacedLabel>& placed) {
  for (const PlacedLabel& p : placed)
    if (overlap(box, p.box)) return false;
  return true;
}

// The first free place for `l` whose point is at `point`, or its own place when none is.
PlacedLabel place(const Label& l, Point2 point, const std::vector<PlacedLabel>& placed) {
  const Point2 own{point.x + l.dx_px, point.y + l.dy_px};
  const PlacedLabel first{own, label_box(own, l)};
  if (free_at(first.box, placed)) return first;
  // Away from the point along the label's offset; straight up for a label on its point.
  const double len = std::hypot(l.dx_px, l.dy_px);
  const double ux = len > 0 ? l.dx_px / len : 0, uy = len > 0 ? l.dy_px / len : -1;
  const double step = l.size_px * (kAscentEm + kDescentEm);
  // The offset's own direction first, then turning either way by an eighth
  // of a turn at a time: outwards is preferred to across the outline.
  constexpr std::array<double, 8> kTurns{0, 1, -1, 2, -2, 3, -3, 4};
  for (int k = 1; k <= kSteps; ++k) {
    for (double turn : kTurns) {
      const double a = turn * std::numbers::pi / 4;
      const double vx = ux * std::cos(a) - uy * std::sin(a), vy = ux * std::sin(a) + uy * std::cos(a);
      const Point2 at{own.x + k * step * vx, own.y + k * step * vy};
      const PixelRect box = label_box(at, l);
      if (free_at(box, placed)) return {at, box};
    }
  }
  return first;
}

}  // namespace

PixelRect label_box(Point2 at, const Label& l) {
  const double width = characters(l.text) * l.size_px * (l.bold ? kBoldCharEm : kCharEm);
  const double left = l.align == Align::kStart ? at.x : l.align == Align::kMiddle ? at.x - width / 2 : at.x - width;
  return {left, at.y - kAscentEm * l.size_px, width, (kAscentEm + kDescentEm) * l.size_px};
}

std::vector<PlacedLabel> place_labels(const std::vector<Label>& labels, const PlotFrame& frame) {
  std::vector<PlacedLabel> placed;
  placed.reserve(labels.size());
  for (const Label& l : labels) placed.push_back(place(l, frame.to_pixels(l.at), placed));
  return placed;
}

}  // namespace lumivar::plots
