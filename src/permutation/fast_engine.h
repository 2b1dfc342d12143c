#pragma once
// Within sums from the superimposed coordinates instead of the distance
// matrix. For a group of n rows x_i, the sum of its pairwise squared
// distances is n * sum ||x_i||^2 - ||sum x_i||^2; the coordinates are centred
// on their overall mean first so that the difference loses little.
//
// Everything that does not depend on the relabelling is prepared once: the
// centred rows (p = 2k coordinates each), their squared norms, the sum of
// each specimen's two rows, and the group of every coding as a table over
// specimens and measurement codes, made from the crossed codes exactly as
// mergegroups makes them (so codes of any value, including crossings that
// collide, group the rows as in the reference engine). A relabelling then
// costs one pass over the rows: about 5.5 m p additions and O(m) lookups.
//
// Exactness: within each coding the rows are visited in one fixed order
// (row j, then row j + mg, for j = 1 .. mg) and the groups are combined in
// the order of their first row, so the sum depends only on how the rows are
// split into groups, not on the codes or on the relabelling that produced
// the split.
#include <cstdint>
#include <vector>

#include "permutation/permutation_engine.h"

namespace lumivar::permutation {

class FastEngine : public PermutationEngine {
 public:
  // Memory: about 8 m p bytes for the rows plus O(mg * measurement codes) tables.
  explicit FastEngine(const DesignData& design);
  double sstotal() const override { return sstotal_; }
  std::size_t specimens() const override { return mg_; }
  std::unique_ptr<Worker> make_worker() const override;

 private:
  class FastWorker;
  // Groups of the G1xG2xT crossing per (specimen, measurement code) when the
  // largest G2xT code of the relabelled rows is the one of rank `rank`
  // (-1: all are NaN). The crossing adds 1 to that largest code, so it
  // depends on the relabelling; there are few possible values.
  std::vector<int> all_classes(int rank) const;

  std::size_t mg_ = 0, m_ = 0, p_ = 0;
  // Columns of the (specimen, measurement code) tables: the distinct
  // measurement codes, then one for NaN.
  std::size_t ncodes_ = 0;
  std::vector<double> x_;    // m x p, row-major, centred
  std::vector<double> sq_;   // ||x_r||^2
  std::vector<double> y_;    // mg x p: x_j + x_{j+mg}
  std::vector<double> ysq_;  // sq_j + sq_{j+mg}
  std::vector<std::uint32_t> tcode_;  // per row: column of its measurement code
  // Group (class) numbers, -1 for a NaN code, which shares no group.
  std::vector<int> g1_, g2_, g12_;  // per specimen
  std::vector<int> t_;              // per measurement code column
  std::vector<int> g1t_, g2t_;      // per (specimen, code column): s * ncodes_ + b
  std::vector<double> g1_code_;     // G1 code per specimen
  std::vector<double> g2t_code_;    // crossed G2xT code per (specimen, code column)
  std::vector<int> g2t_rank_;       // its rank among the distinct G2xT codes, -1 for NaN
  std::vector<double> g2t_by_rank_;
  std::size_t classes_[partition::kEffectCount] = {};
  partition::Divisors divisors_;
  double sstotal_ = 0;
};

}  // namespace lumivar::permutation
