#include "models/factorial_terms.h"

#include <unsupported/Eigen/KroneckerProduct>

namespace lumivar::models {

namespace {

// The L - 1 sum-to-zero contrasts of a factor with `levels` levels, rows by level.
Eigen::MatrixXd contrasts(std::size_t levels) {
  const Eigen::Index n = static_cast<Eigen::Index>(levels);
  Eigen::MatrixXd c = Eigen::MatrixXd::Zero(n, n > 0 ? n - 1 : 0);
  for (Eigen::Index i = 0; i + 1 < n; ++i) {
    c(i, i) = 1;
    c(n - 1, i) = -1;
  }
  return c;
}

}  // namespace

Eigen::MatrixXd term_columns(Term term, std::size_t n1, std::size_t n2) {
  const auto factor = [](bool in_term, std::size_t levels) -> Eigen::MatrixXd {
    return in_term ? contrasts(levels)
                   : Eigen::MatrixXd::Ones(static_cast<Eigen::Index>(levels), 1);
  };
  const Eigen::MatrixXd c1 = factor(term & kFactor1, n1), c2 = factor(term & kFactor2, n2);
  // Cell a * n2 + b gets the product of G1's row a and G2's row b: the
  // Kronecker product of the two factors' columns.
  return Eigen::kroneckerProduct(c1, c2);
}

}  // namespace lumivar::models
