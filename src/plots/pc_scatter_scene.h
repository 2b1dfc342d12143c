#pragma once
// Principal component scores: one point per row at its scores on two chosen
// components, coloured by the level of one grouping, with the two
// measurements of every specimen joined by a line (how each specimen moved
// between them), axes titled with their percent of the variance, the legend
// in the sheet's words and the specimen's name on hover.
#include <cstddef>
#include <map>
#include <string>

#include "plots/scene.h"
#include "runtime/matrix.h"
#include "shape_space/principal_components.h"
#include "shape_space/study_labels.h"

namespace lumivar::plots {

struct PcScatterOptions {
  std::size_t x_component = 1, y_component = 2;  // 1-based
  std::string grouping = "G1";                   // title and legend
  const std::map<double, std::string>* level_names = nullptr;  // the grouping's; none: its codes
};

// `codes`: the grouping's code of each row (at least m); `specimens`: rows j
// and j + specimens are one specimen's two measurements (0: no joins);
// `labels.specimens` names the rows (may be empty). Raises when a component
// does not exist or there are fewer codes than rows. O(m log m).
Scene pc_scatter_scene(const shape_space::PrincipalComponents& pc, const runtime::Matrix& codes,
                       std::size_t specimens, const shape_space::StudyLabels& labels,
                       const PcScatterOptions& options = {});

}  // namespace lumivar::plots
