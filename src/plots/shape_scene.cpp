#include "plots/shape_scene.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "geometry/consensus_distance.h"
#include "plots/palette.h"
#include "plots/projections.h"
#include "plots/shape_space_parts.h"
#include "plots/ticks.h"
#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::plots {

using geometry::consensus_distances;
using geometry::farthest_first;
using geometry::RowDistance;

namespace {

// Room around the points for the landmark numbers, row names and view names.
constexpr double kPadding = 0.08;

std::string code_text(double code) { return runtime::format("%.10g", {code}); }

// The names of the ringed rows sit inside the outline, clear of the
// landmark numbers outside it and of the ring.
Label row_name(Point2 at, Point2 centre, std::size_t row) {
  return parts::radial_label(at, "row " + std::to_string(row), -14, centre);
}

// The coordinates of a matrix of configurations as one flat vector: its
// columns in order, the trailing one left out.
Eigen::Map<const Eigen::RowVectorXd> coordinates(const runtime::Matrix& m) {
  return {m.data(), static_cast<Eigen::Index>(m.rows() * (m.cols() - 1))};
}

}  // namespace

Scene shape_scene(const runtime::Matrix& xpt, const runtime::Matrix& consensus,
                  const runtime::Matrix& codes, const ShapeSceneOptions& options) {
  const auto d = static_cast<std::size_t>(options.dimensions);
  const std::vector<RowDistance> distances = consensus_distances(xpt, consensus, d);
  const std::size_t m = xpt.rows(), k = (xpt.cols() - 1) / d;
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
  const std::vector<parts::Projection> views = parts::projections(d, parts::reach_of({coordinates(xpt), coordinates(consensus)}));
  // Landmark j of row i (row 0: the consensus) as `v` shows it.
  const auto at = [&](const parts::Projection& v, std::size_t i, std::size_t j) {
    const runtime::Matrix& from = i == 0 ? consensus : xpt;
    const std::size_t r = i == 0 ? 1 : i;
    return v.show([&](std::size_t c) { return from(r, d * (j - 1) + c + 1); });
  };
  std::vector<std::size_t> view_of;  // the view of each point of s.points
  for (std::size_t v = 0; v < views.size(); ++v) {
    for (std::size_t i = 1; i <= m; ++i) {
      const Colour c = group_colour(rank.at(codes(i)));
      for (std::size_t j = 1; j <= k; ++j) {
        const Point2 p = at(views[v], i, j);
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        s.points.push_back({p, c, i, j, 2.5, 0.7, false});
        view_of.push_back(v);
        extent.add(p);
      }
    }
  }

  for (std::size_t v = 0; v < views.size(); ++v) {
    Polyline outline;
    outline.colour = kInk;
    outline.width_px = 1.5;
    outline.closed = true;
    for (std::size_t j = 1; j <= k; ++j) {
      const Point2 p = at(views[v], 0, j);
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
      outline.points.push_back(p);
      s.points.push_back({p, kInk, 0, j, 3, 1, false});
      view_of.push_back(v);
      s.labels.push_back(parts::landmark_number(p, j, views[v].centre));
      extent.add(p);
    }
    s.lines.push_back(outline);
  }

  // The rows to look at: their own outline, dashed, and their worst landmark ringed.
  std::string named;
  std::size_t marked = 0;
  for (const RowDistance& r : farthest_first(distances)) {
    if (marked == options.outliers || !std::isfinite(r.distance)) break;
    ++marked;
    named += (named.empty() ? "" : ", ") + std::to_string(r.row);
    for (std::size_t v = 0; v < views.size(); ++v) {
      Polyline own;
      own.colour = group_colour(rank.at(codes(r.row)));
      own.closed = true;
      own.dashed = true;
      for (std::size_t q = 0; q < s.points.size(); ++q) {
        ScenePoint& p = s.points[q];
        if (p.row != r.row || view_of[q] != v) continue;
        own.points.push_back(p.at);
        if (p.landmark == r.landmark) {
          p.ringed = true;
          s.labels.push_back(row_name(p.at, views[v].centre, r.row));
        }
      }
      s.lines.push_back(own);
    }
  }

  s.subtitle = std::to_string(m) + " rows, " + std::to_string(k) + " landmarks" + (d == 3 ? " (3-D)" : "");
  if (marked > 0)
    s.subtitle += "; ringed: the " + (marked == 1 ? std::string("row") : std::to_string(marked) + " rows") +
                  " farthest from the consensus (" + named + ")";

  s.bounds = extent.padded(kPadding);
  parts::name_projections(s, views, kPadding);
  if (views.size() == 1) {
    // Axes give the scale of the superimposed shapes (each of centroid size 1),
    // so that a printed picture can be read without the program.
    s.x_axis = {"x (superimposed, centroid size 1)", nice_ticks(s.bounds.x_min, s.bounds.x_max)};
    s.y_axis = {"y", nice_ticks(s.bounds.y_min, s.bounds.y_max)};
  }

  std::vector<std::string> levels;
  for (const auto& [code, index] : rank)
    levels.push_back(options.grouping + " = " +
                     (options.code_names.count(code) != 0 ? options.code_names.at(code) : code_text(code)));
  parts::add_group_legend(s, levels);
  s.legend.push_back({LegendEntry::Kind::kLine, kInk, "consensus"});
  if (marked > 0)
    s.legend.push_back({LegendEntry::Kind::kDashedLine, kInk,
                        marked == 1 ? "the ringed row's outline" : "the ringed rows' outlines"});
  return s;
}

}  // namespace lumivar::plots
