#pragma once
// The pictures of the "shapes" command, as SVG files in one folder:
// pc_G1.svg, pc_G2.svg, pc_T.svg (scores on PC1 and PC2 coloured by each
// grouping, a specimen's two measurements joined); means_G1.svg,
// means_G2.svg, means_T.svg (the level means overlaid); change_G1.svg,
// change_G2.svg, change_T.svg (from the first level to the second, with the
// thin-plate-spline grid) and change_PC1.svg (from the low to the high end of
// the first component). A grouping with one level has no change picture; a
// study with one component no scatter.
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/matrix.h"
#include "shape_space/shape_space.h"
#include "shape_space/study_labels.h"

namespace lumivar::batch {

struct ShapePictureInputs {
  const shape_space::ShapeSpace* space = nullptr;
  const shape_space::StudyLabels* labels = nullptr;
  const runtime::Matrix* g1 = nullptr;  // the codes of every row
  const runtime::Matrix* g2 = nullptr;
  const runtime::Matrix* t = nullptr;
  std::size_t specimens = 0;  // rows j and j + specimens: one specimen
  double magnification = 1;   // of the shape changes
};

// Creates `folder` when missing and writes the pictures; returns the paths
// written, in the order above. Raises naming a file that cannot be written.
// Landmarks in 3-D are drawn in three projections; their change pictures
// have no grid.
std::vector<std::string> write_shape_plots(const ShapePictureInputs& in, const std::string& folder);

}  // namespace lumivar::batch
