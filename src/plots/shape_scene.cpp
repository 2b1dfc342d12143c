#include "plots/shape_scene.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "geometry/consensus_distance.h"
#include "plots/palette.h"
#include "plots/ticks.h"
#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::plots {

using geometry::consensus_distances;
using geometry::farthest_first;
using geometry::RowDistance;

namespace {

// Legend entries beyond this are summed up in one line.
constexpr std::size_t kMaxLegendGroups = 12;

std::string code_text(double code) { return runtime::format("%.10g", {code}); }

// Grows `b` to hold `p`; `first` tells whether `b` holds anything yet.
void include(Box& b, bool& first, Point2 p) {
  if (first) {
    b = {p.x, p.x, p.y, p.y};
    first = false;
    return;
  }
  b.x_min = std::min(b.x_min, p.x);
  b.x_max = std::max(b.x_max, p.x);
  b.y_min = std::min(b.y_min, p.y);
  b.y_max = std::max(b.y_max, p.y);
}

// A label `gap` pixels from `at` along the direction away from the
// consensus centroid (the origin), or towards it when `gap` is negative,
// aligned so that the text grows in that direction.
Label radial_label(Point2 at, std::string text, double gap) {
  const double len = std::hypot(at.x, at.y);
  const double ux = len > 0 ? at.x / len : 0, uy = len > 0 ? at.y / len : 1;
  const double sx = gap < 0 ? -ux : ux;
  Label l;
  l.at = at;
  l.text = std::move(text);
  l.colour = kInk;
  l.align = sx > 0.35 ? Align::kStart : sx < -0.35 ? Align::kEnd : Align::kMiddle;
  l.dx_px = gap * ux;
  l.dy_px = -gap * uy + 4;  // pixels grow downwards; +4 centres the digits on the point
  return l;
}

// Landmark numbers sit outside the outline; the names of the ringed rows
// inside it, clear of the numbers and of the ring.
Label landmark_number(Point2 at, std::size_t j) {
  Label l = radial_label(at, std::to_string(j), 11);
  l.bold = true;
  return l;
}

Label row_name(Point2 at, std::size_t row) { return radial_label(at, "row " + std::to_string(row), -14); }

}  // namespace

Scene shape_scene(const runtime::Matrix& xpt, const runtime::Matrix& consensus,
                  const runtime::Matrix& codes, const ShapeSceneOptions& options) {
  const std::vector<RowDistance> distances = consensus_distances(xpt, consensus);
  const std::size_t m = xpt.rows(), k = (xpt.cols() - 1) / 2;
  if (codes.numel() < m)
    runtime::raise("There are " + std::to_string(codes.numel()) + " " + options.grouping +
                   " codes for " + std::to_string(m) + " rows of configurations.");

  // Code -> colour index, ascending codes; a code that is not a number sorts last.
  const auto before = [](double a, double b) { return !std::isnan(a) && (std::isnan(b) || a < b); };
  std::map<double, std::size_t, decltype(before)> rank(before);
  for (std::size_t i = 1; i <= m; ++i) rank.emplace(codes(i), 0);
  std::size_t next = 0;
  for (auto& [code, index] : rank) index = next++;

  Scene s;
  s.title = "Superimposed configurations by " + options.grouping;
  s.equal_aspect = true;
  Box box;
  bool empty = true;
  const auto at = [&](std::size_t i, std::size_t j) { return Point2{xpt(i, 2 * j - 1), xpt(i, 2 * j)}; };
  for (std::size_t i = 1; i <= m; ++i) {
    const Colour c = group_colour(rank.at(codes(i)));
    for (std::size_t j = 1; j <= k; ++j) {
      const Point2 p = at(i, j);
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
      s.points.push_back({p, c, i, j, 2.5, 0.7, false});
      include(box, empty, p);
    }
  }

  Polyline outline;
  outline.colour = kInk;
  outline.width_px = 1.5;
  outline.closed = true;
  for (std::size_t j = 1; j <= k; ++j) {
    const Point2 p{consensus(2 * j - 1), consensus(2 * j)};
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    outline.points.push_back(p);
    s.points.push_back({p, kInk, 0, j, 3, 1, false});
    s.labels.push_back(landmark_number(p, j));
    include(box, empty, p);
  }
  s.lines.push_back(outline);

  // The rows to look at: their own outline, dashed, and their worst landmark ringed.
  std::string named;
  std::size_t marked = 0;
  for (const RowDistance& r : farthest_first(distances)) {
    if (marked == options.outliers || !std::isfinite(r.distance)) break;
    ++marked;
    named += (named.empty() ? "" : ", ") + std::to_string(r.row);
    Polyline own;
    own.colour = group_colour(rank.at(codes(r.row)));
    own.closed = true;
    own.dashed = true;
    for (ScenePoint& p : s.points) {
      if (p.row != r.row) continue;
      own.points.push_back(p.at);
      if (p.landmark == r.landmark) {
        p.ringed = true;
        s.labels.push_back(row_name(p.at, r.row));
      }
    }
    s.lines.push_back(own);
  }

  s.subtitle = std::to_string(m) + " rows, " + std::to_string(k) + " landmarks";
  if (marked > 0)
    s.subtitle += "; ringed: the " + (marked == 1 ? std::string("row") : std::to_string(marked) + " rows") +
                  " farthest from the consensus (" + named + ")";

  // Room around the points for the landmark numbers and row labels.
  if (empty) box = {-1, 1, -1, 1};
  const double pad = 0.08 * std::max({box.width(), box.height(), 1e-9});
  s.bounds = {box.x_min - pad, box.x_max + pad, box.y_min - pad, box.y_max + pad};
  // Axes give the scale of the superimposed shapes (each of centroid size 1),
  // so that a printed picture can be read without the program.
  s.x_axis = {"x (superimposed, centroid size 1)", nice_ticks(s.bounds.x_min, s.bounds.x_max)};
  s.y_axis = {"y", nice_ticks(s.bounds.y_min, s.bounds.y_max)};

  for (const auto& [code, index] : rank) {
    if (index == kMaxLegendGroups) {
      s.legend.push_back({LegendEntry::Kind::kPoint, kGridGrey,
                          "and " + std::to_string(rank.size() - index) + " more groups"});
      break;
    }
    s.legend.push_back({LegendEntry::Kind::kPoint, group_colour(index),
                        options.grouping + " = " +
                            (options.code_names.count(code) != 0 ? options.code_names.at(code)
                                                                 : code_text(code))});
  }
  s.legend.push_back({LegendEntry::Kind::kLine, kInk, "consensus"});
  if (marked > 0)
    s.legend.push_back({LegendEntry::Kind::kDashedLine, kInk,
                        marked == 1 ? "the ringed row's outline" : "the ringed rows' outlines"});
  return s;
}

}  // namespace lumivar::plots
