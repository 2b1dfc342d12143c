#pragma once
// The terms of the two-factor model over the G1 x G2 cells, as columns of a
// cell-level design matrix with sum-to-zero contrasts. Every model of the
// tests by strata is a set of these terms, so every fitted value is constant
// within a cell and all algebra can happen on n1 n2 cells instead of rows.
#include <cstddef>
#include <vector>

#include <Eigen/Core>

namespace lumivar::models {

// The factors a term crosses: bit 0 G1, bit 1 G2. 0 is the intercept.
using Term = unsigned;
inline constexpr Term kIntercept = 0, kFactor1 = 1, kFactor2 = 2, kFactors12 = 3;

// The full model 1 + G1 + G2 + G1:G2.
inline const std::vector<Term> kFullModel = {kIntercept, kFactor1, kFactor2, kFactors12};

// Whether `outer` contains `inner` (every factor of inner is in outer): the
// intercept is contained in every term, G1 in G1:G2.
inline bool contains(Term outer, Term inner) { return (outer & inner) == inner; }

// The columns of `term` over the cells of an n1 x n2 design, cell
// a * n2 + b for G1 level a and G2 level b: for a factor of L levels, L - 1
// contrasts (level i: 1, last level: -1, others 0); for G1:G2 their
// products; for the intercept one column of ones. A factor with one level
// has no columns. Cost O(n1^2 n2^2).
Eigen::MatrixXd term_columns(Term term, std::size_t n1, std::size_t n2);

}  // namespace lumivar::models
