#pragma once
// Within sums from the superimposed coordinates instead of the distance
// matrix. For a group of n rows x_i, the sum of its pairwise squared
// distances is n * sum ||x_i||^2 - ||sum x_i||^2; the coordinates are centred
// on their overall mean first so that the difference loses little.
//
// Every coding groups rows by their (G1, G2, T) codes alone, so rows with the
// same three codes (a "cell") share a group in every coding. A relabelling
// therefore adds each row once, into its cell (m p additions), and then
// combines the few cell sums into the groups of the seven codings. Each
// coding's groups are a table over cells, made by the same crossing of
// distinct code pairs as the reference engine's (NaN shares no group); since
// a crossing depends only on which codes are equal, the tables are fixed
// before the first relabelling.
//
// Exactness: the sums differ from the reference engine's (pair sums over the
// distance matrix) by rounding only, far below the tie tolerance of ties.h,
// which decides every comparison with the observed statistics. So both
// engines count alike, also where a relabelling splits the rows as the
// observed labelling does.
#include <array>
#include <cstdint>
#include <vector>

#include "permutation/permutation_engine.h"

namespace lumivar::permutation {

class FastEngine : public PermutationEngine {
 public:
  // Memory: about 8 m p bytes for the rows and O(cells) for the tables.
  explicit FastEngine(const DesignData& design);
  double sstotal() const override { return sstotal_; }
  std::size_t specimens() const override { return specimens_; }
  std::unique_ptr<Worker> make_worker() const override;

 private:
  class FastWorker;

  // The construction, step by step.
  void centre_rows(const runtime::Matrix& xpt);
  void classify_measurement_codes(const runtime::Matrix& repgroup);
  void classify_specimens(const runtime::Matrix& group);
  void build_coding_tables();

  // The cell of a row: its specimen's G1 and G2 pair and its own measurement code.
  std::uint32_t cell(std::size_t specimen, std::size_t row) const {
    return pair_of_specimen_[specimen] * static_cast<std::uint32_t>(code_columns_) +
           code_column_of_row_[row];
  }

  std::size_t specimens_ = 0, rows_ = 0, coords_per_row_ = 0;
  std::vector<double> coords_;         // rows x coordinates, row-major, centred
  std::vector<double> row_sq_norms_;   // ||x_r||^2 of each centred row
  double sstotal_ = 0;

  // Measurement codes: distinct values by first appearance, plus one column
  // for NaN.
  std::size_t code_columns_ = 0;
  std::vector<double> code_of_column_;
  std::vector<std::uint32_t> code_column_of_row_;
  // Specimens with equal G1 and equal G2 codes share a pair.
  std::vector<std::uint32_t> pair_of_specimen_;
  std::vector<double> g1_of_pair_, g2_of_pair_;

  // Group of each cell per coding (-1: a NaN code, no group), the number of
  // groups, and the divisor of each within sum.
  partition::PerEffect<std::vector<int>> group_of_cell_;
  partition::PerEffect<std::size_t> group_count_{};
  partition::PerEffect<double> divisor_{};
};

}  // namespace lumivar::permutation
