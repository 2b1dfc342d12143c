#pragma once
// One stratum of the tests by strata: one row of p values per specimen in
// the tests (specimen means, or differences of the two measurements), the
// cells of the specimens and the terms tested, fitted once.
//
// Every model lies in the span of the cell indicators, so a relabelling of
// the residuals is summed up by the cell sums of what the slots of each cell
// receive: one pass over the rows, then O(cells^2 p) per term. For term k
// with reduced-model fitted cell values F_k and residuals e_j = y_j - F_k(c_j),
// a relabelling that gives slot j the residual s_j e_{o(j)} (a permutation o
// with s = 1, or sign flips s with o the identity) has residual cell sums
//   E_c = sum_{j in c} s_j y_{o(j)} - sum_c' W(c, c') F_k(c'),
// W(c, c') = sum of s_j over the slots j of cell c whose source o(j) is in c'.
// The relabelled data F_k(c_j) + s_j e_{o(j)} then has the term sum
// ||basis_k E||^2 (F_k lies in the reduced model, which basis_k is
// orthogonal to) and the full model's residual sum
//   sum_j |e_j|^2 - sum_c |E_c|^2 / n_c.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <Eigen/Core>

#include "models/factorial_terms.h"
#include "models/strata_design.h"
#include "models/term_projection.h"

namespace lumivar::models {

using Rows = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

// Sums of squares of one relabelling (or of the data), in the units of the rows.
struct StratumSums {
  double term = 0;      // the tested term's sum
  double residual = 0;  // the full model's residual sum
};

class Stratum;

// What one relabelling moves into each cell of a stratum: the sums
// s_j y_o(j) per cell (cells x p) and W (cells x cells).
struct CellMoves {
  explicit CellMoves(const Stratum& s);
  Rows moved;
  Eigen::MatrixXd weights;
  std::vector<std::uint32_t> slot_of;  // scratch: the slot receiving each specimen
};

class Stratum {
 public:
  // `rows`: specimens in the tests x p, in the order of `design.cell`.
  // Memory: the rows and O(terms cells p).
  Stratum(Rows rows, const StrataDesign& design, const std::vector<Term>& tested, SsType type);

  const Rows& rows() const { return rows_; }
  std::size_t terms() const { return tests_.size(); }
  double df(std::size_t k) const { return tests_[k].projection.df; }
  double df_residual() const { return df_residual_; }
  // The observed sums of tested term k.
  StratumSums observed(std::size_t k) const { return {observed_[k], residual_}; }
  // Sum of squares of term k's reduced-model residuals: the scale of what its
  // relabellings move, for deciding ties.
  double scale(std::size_t k) const { return tests_[k].residual_ss; }
  // The total sum of squares of the rows about their mean.
  double total() const { return total_; }
  // Term k's sums for a relabelling summed up as `moved` (cells x p, the sums
  // s_j y_o(j) per cell) and `weights` (cells x cells, W above).
  StratumSums relabelled(std::size_t k, const Rows& moved,
                         const Eigen::MatrixXd& weights) const;

  const std::vector<std::uint32_t>& cell() const { return cell_; }
  std::size_t cells() const { return static_cast<std::size_t>(counts_.size()); }

  // One pass over the rows: slot j receives the residual of specimen
  // order[j] (0-based specimens in the tests).
  void permuted(const std::vector<std::uint32_t>& order, CellMoves& out) const;
  // One pass over the rows: slot j keeps its residual, its sign flipped
  // where swap[j] is 1.
  void flipped(const std::vector<std::uint8_t>& swap, CellMoves& out) const;

 private:
  struct TermTest {
    TermProjection projection;
    Eigen::MatrixXd fitted;  // cells x p, the reduced model's cell values
    double residual_ss = 0;
  };
  Rows rows_;
  std::vector<std::uint32_t> cell_;
  Eigen::VectorXd counts_;
  std::vector<TermTest> tests_;
  std::vector<double> observed_;
  double residual_ = 0, df_residual_ = 0, total_ = 0;
};

}  // namespace lumivar::models
