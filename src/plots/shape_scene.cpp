#include "plots/shape_scene.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "geometry/consensus_distance.h"
#include "plots/palette.h"
#include "plots/shape_space_parts.h"
#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::plots {

using geometry::consensus_distances;
using geometry::farthest_first;
using geometry::RowDistance;

namespace {

std::string code_text(double code) { return runtime::format("%.10g", {code}); }

// The names of the ringed rows sit inside the outline, clear of the
// landmark numbers outside it and of the ring.
Label row_name(Point2 at, std::size_t row) { return parts::radial_label(at, "row " + std::to_string(row), -14); }

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
  parts::Extent2 extent;
  const auto at = [&](std::size_t i, std::size_t j) { return Point2{xpt(i, 2 * j - 1), xpt(i, 2 * j)}; };
  for (std::size_t i = 1; i <= m; ++i) {
    const Colour c = group_colour(rank.at(codes(i)));
    for (std::size_t j = 1; j <= k; ++j) {
      const Point2 p = at(i, j);
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
      s.points.push_back({p, c, i, j, 2.5, 0.7, false});
      extent.add(p);
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
    s.labels.push_back(parts::landmark_number(p, j));
    extent.add(p);
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
  s.bounds = extent.padded(0.08);

  std::vector<std::string> levels;
  for (const auto& [code, index] : rank) levels.push_back(options.grouping + " = " + code_text(code));
  parts::add_group_legend(s, levels);
  s.legend.push_back({LegendEntry::Kind::kLine, kInk, "consensus"});
  return s;
}

}  // namespace lumivar::plots
