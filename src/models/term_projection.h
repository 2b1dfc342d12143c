#pragma once
// What a term's test needs from the design, computed once by QR in the
// space of the cells: the orthonormal directions the term adds to its
// reduced model, and the reduced model's fitted cell values. With S the
// cell sums of the rows (cells x p), the term's sum of squares is
// ||basis S||^2 and the reduced model fits cell values reduced_fit S.
//
// The reduced model: type III, the full model without the term (each term
// adjusted for all others); type II, the terms of the full model that do not
// contain it (each term adjusted for the terms that do not contain it). The
// intercept is in every term, so its type II reduced model is empty.
#include <cstddef>
#include <vector>

#include <Eigen/Core>

#include "models/factorial_terms.h"

namespace lumivar::models {

enum class SsType { kII = 2, kIII = 3 };

struct TermProjection {
  Eigen::MatrixXd basis;        // df x cells
  Eigen::MatrixXd reduced_fit;  // cells x cells
  double df = 0;                // columns the term adds (0: no test)
};

// The terms of `model` that the test of `tested` keeps.
std::vector<Term> reduced_model(Term tested, const std::vector<Term>& model, SsType type);

// For `tested` in `model` over n1 x n2 cells holding `counts` rows each
// (every count positive). Cost O(cells^3).
TermProjection term_projection(Term tested, const std::vector<Term>& model,
                               const Eigen::VectorXd& counts, std::size_t n1, std::size_t n2,
                               SsType type);

}  // namespace lumivar::models
