#include "plots/pc_scatter_scene.h"

#include "plots/palette.h"
#include "plots/shape_space_parts.h"
#include "plots/ticks.h"
#include "runtime/error.h"
#include "runtime/format.h"

namespace lumivar::plots {

namespace {

std::string axis_title(const shape_space::PrincipalComponents& pc, std::size_t c) {
  return runtime::format("PC%i (%.1f%% of the variance)",
                         {static_cast<double>(c), pc.percent(static_cast<Eigen::Index>(c - 1))});
}

}  // namespace

Scene pc_scatter_scene(const shape_space::PrincipalComponents& pc, const runtime::Matrix& codes,
                       std::size_t specimens, const shape_space::StudyLabels& labels,
                       const PcScatterOptions& o) {
  const auto count = static_cast<std::size_t>(pc.scores.cols());
  for (const std::size_t c : {o.x_component, o.y_component})
    if (c < 1 || c > count)
      runtime::raise("There is no principal component " + std::to_string(c) + " to draw; there are " +
                     std::to_string(count) + ".");
  const auto m = static_cast<std::size_t>(pc.scores.rows());
  if (codes.numel() < m)
    runtime::raise("There are " + std::to_string(codes.numel()) + " " + o.grouping + " codes for " +
                   std::to_string(m) + " rows of scores.");
  const std::map<double, std::size_t> rank = parts::code_ranks(codes, m);
  const auto score = [&](std::size_t i) {
    return Point2{pc.scores(static_cast<Eigen::Index>(i - 1), static_cast<Eigen::Index>(o.x_component - 1)),
                  pc.scores(static_cast<Eigen::Index>(i - 1), static_cast<Eigen::Index>(o.y_component - 1))};
  };

  Scene s;
  s.title = "Principal components by " + o.grouping;
  parts::Extent2 extent;
  for (std::size_t i = 1; i <= m; ++i) {
    ScenePoint p{score(i), group_colour(rank.at(codes(i))), i, 0, 3, 0.85, false};
    if (i <= labels.specimens.size()) p.specimen = labels.specimens[i - 1];
    s.points.push_back(std::move(p));
    extent.add(score(i));
  }
  std::size_t joined = 0;
  for (std::size_t j = 1; specimens > 0 && j <= specimens && j + specimens <= m; ++j, ++joined)
    s.lines.push_back({{score(j), score(j + specimens)}, kGridGrey, 0.8, false, false});

  s.bounds = extent.padded(0.05);
  s.x_axis = {axis_title(pc, o.x_component), nice_ticks(s.bounds.x_min, s.bounds.x_max, 6)};
  s.y_axis = {axis_title(pc, o.y_component), nice_ticks(s.bounds.y_min, s.bounds.y_max, 6)};
  s.subtitle = std::to_string(m) + " rows";
  if (joined > 0) s.subtitle += "; a line joins the two measurements of each of " + std::to_string(joined) + " specimens";

  const std::map<double, std::string> none;
  std::vector<std::string> levels;
  for (const auto& [code, index] : rank)
    levels.push_back(o.grouping + " = " + shape_space::level_name(o.level_names ? *o.level_names : none, code));
  parts::add_group_legend(s, levels);
  if (joined > 0) s.legend.push_back({LegendEntry::Kind::kLine, kGridGrey, "one specimen"});
  return s;
}

}  // namespace lumivar::plots
