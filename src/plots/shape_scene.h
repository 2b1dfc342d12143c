#pragma once
// The shape view: every superimposed configuration as points coloured by
// the group its row belongs to under one grouping, the consensus as a
// closed outline through its landmarks in order with their numbers, and the
// rows farthest from the consensus ringed and named, since a digitising
// mistake shows up there first.
#include <cstddef>
#include <map>
#include <string>

#include "plots/scene.h"
#include "runtime/matrix.h"

namespace lumivar::plots {

struct ShapeSceneOptions {
  std::string grouping = "G1";  // name of the grouping the codes belong to (legend, title)
  // Rows farthest from the consensus that are marked: their farthest
  // landmark ringed, their outline dashed and a "row N" label beside it.
  std::size_t outliers = 3;
  // Coordinates per landmark of `xpt` (2 or 3). Three-dimensional
  // configurations are drawn as three orthogonal projections side by side,
  // each in the same unit: front (x across, y up), side (z across, y up)
  // and top (x across, z up), each named above it.
  int dimensions = 2;
  // The study's own word for a code (an imported sheet's "male"), shown in
  // the legend in place of the number; codes without one show the number.
  std::map<double, std::string> code_names = {};
};

// `xpt`: m x n superimposed configurations (n = d k + 1, trailing column
// ignored); `consensus`: 1 x n; `codes`: at least m values, the grouping's
// code of each row. Points (in each projection): one per row and landmark, row by row, each with
// its row and landmark number, coloured by the rank of its row's code among
// the distinct codes (ascending); then one black point per consensus
// landmark (row 0). No axes: superimposed coordinates have no unit, and
// one data unit is as long across as up. Non-finite coordinates are left out. Raises when the
// sizes disagree. Cost O(m k + m log m).
Scene shape_scene(const runtime::Matrix& xpt, const runtime::Matrix& consensus,
                  const runtime::Matrix& codes, const ShapeSceneOptions& options = {});

}  // namespace lumivar::plots
