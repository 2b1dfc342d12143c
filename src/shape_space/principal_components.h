#pragma once
// Principal components of superimposed configurations: the directions of
// greatest shape variation about the mean of all rows, from the
// eigen-decomposition of the p x p covariance matrix of the coordinates
// (p = k·d), never of the m rows, so that a study of 200,000 rows costs one
// pass over them and a small symmetric eigenproblem.
//
// Sign rule, for runs that agree to the last digit: each component's loading
// of largest magnitude is positive (the first such loading, in coordinate
// order, when two are equally large). Its scores follow the same sign.
#include <cstddef>
#include <limits>

#include "shape_space/coordinate_rows.h"

namespace lumivar::shape_space {

struct PrincipalComponents {
  Eigen::RowVectorXd mean;       // 1 x p: the mean of the rows
  Eigen::VectorXd eigenvalues;   // c: variances along the components (divisor m - 1), descending
  Eigen::VectorXd percent;       // c: percent of the variance of all components of the space
  Eigen::MatrixXd loadings;      // p x c: unit columns, the directions
  Eigen::MatrixXd scores;        // m x c: (row - mean) · loadings
  double total_variance = 0;     // sum of the variances of the p coordinates, in the space or not
};

inline constexpr std::size_t kAllComponents = std::numeric_limits<std::size_t>::max();

// Components of `rows` (m x p, m >= 2), largest first. The space's
// components: at most `space` of them (shape_space_dimension for
// superimposed rows), at most m - 1, and only those whose variation is above
// rounding; their percents sum to 100. Returned: the first `components` of
// them. Raises for fewer than two rows or a non-finite coordinate.
// Cost: O(m p^2 + p^3) time; memory for a centred copy and the scores,
// 8 m (p + c) bytes.
PrincipalComponents principal_components(const CoordinateRows& rows,
                                         std::size_t components = kAllComponents,
                                         std::size_t space = kAllComponents);

// Dimensions of the space of shapes of k landmarks of d coordinates: k d
// less what the superimposition takes out, d translations, one scale and
// d (d - 1) / 2 rotations (0 when that leaves nothing). Superimposed rows
// vary a little outside it (they lie on the sphere of unit size, and the
// iterated rotations stop within a tolerance), but no shape varies there.
std::size_t shape_space_dimension(std::size_t landmarks, std::size_t dimension);

// Applies the sign rule to column j of `loadings` and of `scores` (scores
// may be empty). For tests and callers that decompose otherwise.
void fix_sign(Eigen::MatrixXd& loadings, Eigen::MatrixXd& scores, Eigen::Index j);

}  // namespace lumivar::shape_space
