#pragma once
// Within sums from the superimposed coordinates instead of the distance
// matrix. For a group of n rows x_i, the sum of its pairwise squared
// distances is n * sum ||x_i||^2 - ||sum x_i||^2; the coordinates are centred
// on their overall mean first so that the difference loses little.
//
// Every coding groups rows by their (G1, G2, T) codes alone, so rows with the
// same three codes (an "atom") share a group in every coding. A relabelling
// therefore adds each row once, into its atom (m p additions), and then
// combines the few atom sums into the groups of the seven codings. The
// groups of each coding are tables over atoms, made by the same crossing of
// distinct code pairs as the reference engine's (NaN shares no group), so
// every atom is one G1xG2xT cell whatever the relabelling.
//
// Exactness: a relabelling that splits the rows of a coding into the same
// groups as the observed labelling gets the observed within sum itself, bit
// for bit. The split is compared row by row only when the sum is within
// rounding distance of the observed one. (Ties between different splits are
// decided by the rule of ties.h, as in the reference engine.)
#include <cstdint>
#include <vector>

#include "permutation/permutation_engine.h"

namespace lumivar::permutation {

class FastEngine : public PermutationEngine {
 public:
  // Memory: about 8 m p bytes for the rows, O(m) for the observed groups and
  // O(mg * measurement codes) for the tables.
  explicit FastEngine(const DesignData& design);
  double sstotal() const override { return sstotal_; }
  std::size_t specimens() const override { return mg_; }
  std::unique_ptr<Worker> make_worker() const override;

 private:
  class FastWorker;
  std::uint32_t atom(std::size_t specimen, std::size_t row) const {
    return combo_[specimen] * static_cast<std::uint32_t>(ncodes_) + tcode_[row];
  }

  std::size_t mg_ = 0, m_ = 0, p_ = 0;
  // Distinct measurement codes plus one column for NaN; atoms are
  // (G1 and G2 pair of a specimen) x (measurement code column).
  std::size_t ncodes_ = 0, natoms_ = 0;
  std::vector<double> x_;   // m x p, row-major, centred
  std::vector<double> sq_;  // ||x_r||^2
  std::vector<std::uint32_t> tcode_;  // per row: column of its measurement code
  std::vector<std::uint32_t> combo_;  // per specimen: its pair of G1 and G2 codes
  // Group of each atom per coding (-1: a NaN code, no group).
  std::vector<int> classes_[partition::kEffectCount];
  std::size_t class_count_[partition::kEffectCount] = {};
  partition::Divisors divisors_;
  double sstotal_ = 0;
  // The observed labelling: each row's group per coding, group sizes, the
  // within sums, and how far a sum of the same split can stray by rounding.
  std::vector<int> observed_group_[partition::kEffectCount];
  std::vector<std::uint32_t> observed_size_[partition::kEffectCount];
  double observed_[partition::kEffectCount] = {};
  double tolerance_[partition::kEffectCount] = {};
};

}  // namespace lumivar::permutation
