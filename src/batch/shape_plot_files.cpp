#include "batch/shape_plot_files.h"

#include <array>

#include "batch/plot_files.h"
#include "plots/mean_shapes_scene.h"
#include "plots/pc_scatter_scene.h"
#include "plots/shape_change_scene.h"
#include "plots/shape_space_choices.h"

namespace lumivar::batch {

std::vector<std::string> write_shape_plots(const ShapePictureInputs& in, const std::string& folder) {
  using plots::Grouping;
  make_picture_folder(folder);
  const shape_space::ShapeSpace& s = *in.space;
  const std::array<std::pair<Grouping, const runtime::Matrix*>, 3> groupings{
      {{Grouping::kG1, in.g1}, {Grouping::kG2, in.g2}, {Grouping::kT, in.t}}};
  std::vector<std::string> written;
  const auto file = [](const char* kind, const std::string& name) { return std::string(kind) + name + ".svg"; };
  if (s.components.scores.cols() >= 2)
    for (const auto& [g, codes] : groupings) {
      plots::PcScatterOptions o;
      o.grouping = plots::grouping_name(g);
      o.level_names = &plots::names_of(*in.labels, g);
      written.push_back(write_svg(folder, file("pc_", o.grouping),
                                  plots::pc_scatter_scene(s.components, *codes, in.specimens, *in.labels, o)));
    }
  for (const auto& [g, codes] : groupings) {
    const std::string name = plots::grouping_name(g);
    written.push_back(write_svg(folder, file("means_", name),
                                plots::mean_shapes_scene(plots::level_means(s, g, *in.labels), s.dimension,
                                                         "Mean shapes of " + name)));
  }
  const auto change = [&](const plots::ShapePair& pair, const std::string& name) {
    plots::ShapeChangeOptions o;
    o.from_name = pair.from.name;
    o.to_name = pair.to.name;
    o.magnification = in.magnification;
    written.push_back(write_svg(folder, file("change_", name),
                                plots::shape_change_scene(pair.from.shape, pair.to.shape, s.dimension, o)));
  };
  for (const auto& [g, codes] : groupings)
    if (plots::levels_of(s, g).size() >= 2) change(plots::level_pair(s, g, 0, 1, *in.labels), plots::grouping_name(g));
  if (s.components.scores.cols() >= 1) change(plots::component_pair(s, 1), "PC1");
  return written;
}

}  // namespace lumivar::batch
