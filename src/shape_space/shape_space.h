#pragma once
// Everything the shape-space views and the "shapes" command show, computed
// once from an analysis's superimposition: the principal components, the
// mean shape of every level of G1, G2 and T and of every G1 x G2 cell, the
// consensus, and the centroid size of every row as loaded.
#include <cstddef>
#include <utility>
#include <vector>

#include "runtime/matrix.h"
#include "shape_space/group_means.h"
#include "shape_space/principal_components.h"

namespace lumivar::shape_space {

struct ShapeSpaceInputs {
  const runtime::Matrix* data = nullptr;       // m x (k·d + 1): the rows as loaded
  const runtime::Matrix* xpt = nullptr;        // m x (k·d + 1): superimposed
  const runtime::Matrix* consensus = nullptr;  // 1 x (k·d + 1)
  const runtime::Matrix* g1 = nullptr;         // m codes each
  const runtime::Matrix* g2 = nullptr;
  const runtime::Matrix* t = nullptr;
  std::size_t dimension = 2;                   // coordinates per landmark
  std::size_t components = kAllComponents;     // at most this many components (and at most
                                               // shape_space_dimension of them)
};

struct ShapeSpace {
  std::size_t dimension = 2, landmarks = 0;
  Eigen::RowVectorXd consensus;        // 1 x k·d
  PrincipalComponents components;
  std::vector<double> centroid_sizes;  // one per row, before superimposition
  std::vector<GroupMean> g1, g2, t;    // one per level, ascending codes
  std::vector<GroupMean> cells;        // one per G1 x G2 cell (codes: G1, G2)
};

// Raises when the matrices' sizes disagree, or as principal_components.
// Cost: O(m p^2 + p^3 + m log m); memory 8 m (p + c) bytes beyond the inputs.
ShapeSpace shape_space(const ShapeSpaceInputs& in);

// The shapes at the lowest and at the highest score of component `j`
// (0-based) observed among the rows: the mean moved along its loading.
std::pair<Eigen::RowVectorXd, Eigen::RowVectorXd> component_ends(const PrincipalComponents& pc,
                                                                 Eigen::Index j);

}  // namespace lumivar::shape_space
