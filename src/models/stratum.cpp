#include "models/stratum.h"

#include <algorithm>

namespace lumivar::models {

namespace {

// Per cell, the sum of the rows in it.
Eigen::MatrixXd cell_sums(const Rows& rows, const std::vector<std::uint32_t>& cell,
                          std::size_t cells) {
  Eigen::MatrixXd s = Eigen::MatrixXd::Zero(static_cast<Eigen::Index>(cells), rows.cols());
  for (Eigen::Index j = 0; j < rows.rows(); ++j) s.row(cell[j]) += rows.row(j);
  return s;
}

}  // namespace

Stratum::Stratum(Rows rows, const StrataDesign& design, const std::vector<Term>& tested,
                 SsType type)
    : rows_(std::move(rows)),
      cell_(design.cell),
      counts_(Eigen::Map<const Eigen::VectorXd>(design.counts.data(),
                                                static_cast<Eigen::Index>(design.counts.size()))),
      df_residual_(design.df_denominator()) {
  const std::size_t cells = design.cells();
  const Eigen::MatrixXd sums = cell_sums(rows_, cell_, cells);
  const Eigen::MatrixXd means = counts_.cwiseInverse().asDiagonal() * sums;
  const Eigen::RowVectorXd grand = rows_.colwise().mean();
  // Row-level sums once, each a sum of squares of its own differences.
  for (Eigen::Index j = 0; j < rows_.rows(); ++j) {
    residual_ += (rows_.row(j) - means.row(cell_[j])).squaredNorm();
    total_ += (rows_.row(j) - grand).squaredNorm();
  }
  for (Term t : tested) {
    TermTest test;
    test.projection = term_projection(t, kFullModel, counts_, design.n1, design.n2, type);
    test.fitted = test.projection.reduced_fit * sums;
    for (Eigen::Index j = 0; j < rows_.rows(); ++j)
      test.residual_ss += (rows_.row(j) - test.fitted.row(cell_[j])).squaredNorm();
    observed_.push_back((test.projection.basis * sums).squaredNorm());
    tests_.push_back(std::move(test));
  }
}

StratumSums Stratum::relabelled(std::size_t k, const Rows& moved,
                                const Eigen::MatrixXd& weights) const {
  const TermTest& t = tests_[k];
  const Eigen::MatrixXd e = moved - weights * t.fitted;
  double within = t.residual_ss;
  for (Eigen::Index c = 0; c < e.rows(); ++c) within -= e.row(c).squaredNorm() / counts_[c];
  return {(t.projection.basis * e).squaredNorm(), std::max(0.0, within)};
}

CellMoves::CellMoves(const Stratum& s)
    : moved(Rows::Zero(static_cast<Eigen::Index>(s.cells()), s.rows().cols())),
      weights(Eigen::MatrixXd::Zero(static_cast<Eigen::Index>(s.cells()),
                                    static_cast<Eigen::Index>(s.cells()))) {}

void Stratum::permuted(const std::vector<std::uint32_t>& order, CellMoves& out) const {
  out.moved.setZero();
  out.weights.setZero();
  // Row i goes to the slot that receives it, so the rows are read in order
  // and only the small cell sums are written at random: a large study's rows
  // stream through the cache instead of being gathered from all over it.
  const std::size_t n = cell_.size();
  out.slot_of.resize(n);
  for (std::size_t j = 0; j < n; ++j) out.slot_of[order[j]] = static_cast<std::uint32_t>(j);
  const std::size_t p = static_cast<std::size_t>(rows_.cols());
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t to = cell_[out.slot_of[i]];
    const double* src = rows_.data() + i * p;
    double* dst = out.moved.data() + to * p;
    for (std::size_t c = 0; c < p; ++c) dst[c] += src[c];
    out.weights(to, cell_[i]) += 1;
  }
}

void Stratum::flipped(const std::vector<std::uint8_t>& swap, CellMoves& out) const {
  out.moved.setZero();
  out.weights.setZero();
  const std::size_t p = static_cast<std::size_t>(rows_.cols());
  for (std::size_t j = 0; j < cell_.size(); ++j) {
    const double sign = swap[j] ? -1.0 : 1.0;
    const double* src = rows_.data() + j * p;
    double* dst = out.moved.data() + cell_[j] * p;
    for (std::size_t c = 0; c < p; ++c) dst[c] += sign * src[c];
    out.weights(cell_[j], cell_[j]) += sign;
  }
}

}  // namespace lumivar::models
