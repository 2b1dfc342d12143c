#pragma once
// Mean shapes of groups of rows: the coordinate-wise average of the
// superimposed configurations that share a code (a level of one factor) or a
// combination of codes (a cell of several factors).
#include <cstddef>
#include <vector>

#include "runtime/matrix.h"
#include "shape_space/coordinate_rows.h"

namespace lumivar::shape_space {

struct GroupMean {
  std::vector<double> codes;  // one per factor, in the order given
  std::size_t rows = 0;       // rows averaged
  Eigen::RowVectorXd shape;   // 1 x p
};

// One mean per distinct combination of the factors' codes, in ascending
// order of the codes (the first factor first). `factors`: one code column
// per factor, each with at least as many entries as `rows` has rows (the
// first m are used). Raises when a factor has too few codes.
// Cost: O(m p + m log m).
std::vector<GroupMean> group_means(const CoordinateRows& rows,
                                   const std::vector<const runtime::Matrix*>& factors);

}  // namespace lumivar::shape_space
