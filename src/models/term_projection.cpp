#include "models/term_projection.h"

#include <Eigen/QR>

namespace lumivar::models {

namespace {

// The columns of `terms` side by side, cells x columns.
Eigen::MatrixXd columns_of(const std::vector<Term>& terms, std::size_t n1, std::size_t n2) {
  std::vector<Eigen::MatrixXd> parts;
  Eigen::Index width = 0;
  for (Term t : terms) {
    parts.push_back(term_columns(t, n1, n2));
    width += parts.back().cols();
  }
  Eigen::MatrixXd x(static_cast<Eigen::Index>(n1 * n2), width);
  Eigen::Index at = 0;
  for (const Eigen::MatrixXd& part : parts) {
    x.middleCols(at, part.cols()) = part;
    at += part.cols();
  }
  return x;
}

}  // namespace

std::vector<Term> reduced_model(Term tested, const std::vector<Term>& model, SsType type) {
  std::vector<Term> kept;
  for (Term t : model) {
    if (t == tested) continue;
    if (type == SsType::kII && contains(t, tested)) continue;
    kept.push_back(t);
  }
  return kept;
}

TermProjection term_projection(Term tested, const std::vector<Term>& model,
                               const Eigen::VectorXd& counts, std::size_t n1, std::size_t n2,
                               SsType type) {
  // Rows of a cell share their design row, so X'X = Xc' N Xc and X'y = Xc' S
  // with N the cell counts: the weighted cell design B = N^(1/2) Xc carries
  // every projection. Its QR with the reduced model's columns first splits
  // Q into the reduced model's directions and those the term adds.
  const Eigen::MatrixXd reduced = columns_of(reduced_model(tested, model, type), n1, n2);
  const Eigen::MatrixXd term = term_columns(tested, n1, n2);
  const Eigen::Index cells = static_cast<Eigen::Index>(n1 * n2);
  Eigen::MatrixXd b(cells, reduced.cols() + term.cols());
  b << reduced, term;
  const Eigen::VectorXd root = counts.cwiseSqrt();
  b = root.asDiagonal() * b;
  const Eigen::HouseholderQR<Eigen::MatrixXd> qr(b);
  const Eigen::MatrixXd q = qr.householderQ() * Eigen::MatrixXd::Identity(cells, b.cols());
  const Eigen::MatrixXd q_reduced = q.leftCols(reduced.cols());
  const Eigen::MatrixXd q_term = q.rightCols(term.cols());
  const Eigen::VectorXd inverse_root = root.cwiseInverse();

  TermProjection out;
  out.df = static_cast<double>(term.cols());
  out.basis = q_term.transpose() * inverse_root.asDiagonal();
  out.reduced_fit = inverse_root.asDiagonal() * q_reduced * q_reduced.transpose() *
                    inverse_root.asDiagonal();
  return out;
}

}  // namespace lumivar::models
