#include "permutation/fast_engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "partition/partition.h"

namespace lumivar::permutation {

using partition::kEffectCount;
using runtime::Matrix;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Group number of each code, numbered by first appearance: codes that
// compare equal share a group (so 0 and -0 do), NaN is in no group (-1).
std::vector<int> classify(const std::vector<double>& codes, std::size_t& count) {
  std::unordered_map<double, int> seen;
  std::vector<int> out(codes.size(), -1);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const double c = codes[i];
    if (std::isnan(c)) continue;
    const auto it = seen.try_emplace(c == 0 ? 0.0 : c, static_cast<int>(seen.size())).first;
    out[i] = it->second;
  }
  count = seen.size();
  return out;
}

// Running sums of the groups (keys) of one coding: rows, sum of squared
// norms and the vector sum. A key gets its slot when it first arrives.
class Accumulator {
 public:
  Accumulator(std::size_t keys, std::size_t p) : slot_of_key_(keys, -1), p_(p) {}

  void add(int key, const double* __restrict__ v, double sq, double rows) {
    if (key < 0) return;
    int& slot = slot_of_key_[static_cast<std::size_t>(key)];
    if (slot < 0) {
      slot = static_cast<int>(key_of_slot_.size());
      key_of_slot_.push_back(key);
      sq_.push_back(sq);
      rows_.push_back(rows);
      sums_.insert(sums_.end(), v, v + p_);
      return;
    }
    const auto s = static_cast<std::size_t>(slot);
    double* __restrict__ acc = sums_.data() + s * p_;
    for (std::size_t k = 0; k < p_; ++k) acc[k] += v[k];
    sq_[s] += sq;
    rows_[s] += rows;
  }

  std::size_t used() const { return key_of_slot_.size(); }
  int key(std::size_t slot) const { return key_of_slot_[slot]; }
  const double* sum(std::size_t slot) const { return sums_.data() + slot * p_; }
  double sq(std::size_t slot) const { return sq_[slot]; }
  double rows(std::size_t slot) const { return rows_[slot]; }

  // Sum over groups of n * sum ||x||^2 - ||sum x||^2. A group of one row
  // gives exactly 0: its sum is a copy of the row.
  double within() const {
    double w = 0;
    for (std::size_t s = 0; s < used(); ++s) {
      const double* a = sum(s);
      double norm = 0;
      for (std::size_t k = 0; k < p_; ++k) norm += a[k] * a[k];
      w += rows_[s] * sq_[s] - norm;
    }
    return w;
  }

  void reset() {
    for (int key : key_of_slot_) slot_of_key_[static_cast<std::size_t>(key)] = -1;
    key_of_slot_.clear();
    sq_.clear();
    rows_.clear();
    sums_.clear();
  }

 private:
  std::vector<int> slot_of_key_;
  std::vector<int> key_of_slot_;
  std::vector<double> sq_, rows_, sums_;
  std::size_t p_;
};

}  // namespace

class FastEngine::FastWorker : public PermutationEngine::Worker {
 public:
  explicit FastWorker(const FastEngine& e) : e_(e), cells_(cell_count(e), e.coords_per_row_) {
    codings_.reserve(kEffectCount);
    for (int k = 0; k < kEffectCount; ++k)
      codings_.emplace_back(e.group_count_[static_cast<std::size_t>(k)], e.coords_per_row_);
  }

  WithinSums within_sums(const Relabelling& r) override {
    const std::size_t mg = e_.specimens_, p = e_.coords_per_row_;
    // Each row into its cell: relabelled position j takes specimen order[j]'s
    // codes, its two rows swapping measurement codes when swap[j] is set.
    for (std::size_t j = 0; j < mg; ++j) {
      const std::size_t s = r.order[j];
      const std::uint32_t first = e_.cell(s, r.swap[j] ? j + mg : j);
      const std::uint32_t second = e_.cell(s, r.swap[j] ? j : j + mg);
      cells_.add(static_cast<int>(first), e_.coords_.data() + j * p, e_.row_sq_norms_[j], 1);
      cells_.add(static_cast<int>(second), e_.coords_.data() + (j + mg) * p,
                 e_.row_sq_norms_[j + mg], 1);
    }
    // Then the cells into the groups of each coding.
    WithinSums w{};
    for (std::size_t k = 0; k < kEffectCount; ++k) {
      const std::vector<int>& group_of_cell = e_.group_of_cell_[k];
      Accumulator& coding = codings_[k];
      for (std::size_t c = 0; c < cells_.used(); ++c)
        coding.add(group_of_cell[static_cast<std::size_t>(cells_.key(c))], cells_.sum(c),
                   cells_.sq(c), cells_.rows(c));
      w[k] = coding.within() / e_.divisor_[k];
      coding.reset();
    }
    cells_.reset();
    return w;
  }

 private:
  static std::size_t cell_count(const FastEngine& e) {
    return e.g1_of_pair_.size() * e.code_columns_;
  }

  const FastEngine& e_;
  Accumulator cells_;
  std::vector<Accumulator> codings_;
};

FastEngine::FastEngine(const DesignData& design)
    : specimens_(design.group.rows()),
      rows_(2 * design.group.rows()),
      coords_per_row_(design.xpt.cols() > 0 ? design.xpt.cols() - 1 : 0) {
  divisor_ = partition::make_divisors(design.sizes);
  centre_rows(design.xpt);
  sstotal_ /= design.sizes.m;
  classify_measurement_codes(design.repgroup);
  classify_specimens(design.group);
  build_coding_tables();
}

// Centred rows, row-major so that one row's coordinates are contiguous, their
// squared norms, and the total sum of squares times m.
void FastEngine::centre_rows(const Matrix& xpt) {
  const std::size_t m = rows_, p = coords_per_row_;
  coords_.assign(m * p, 0.0);
  row_sq_norms_.assign(m, 0.0);
  for (std::size_t c = 0; c < p; ++c) {
    double mean = 0;
    for (std::size_t r = 0; r < m; ++r) mean += xpt(r + 1, c + 1);
    mean /= static_cast<double>(m);
    for (std::size_t r = 0; r < m; ++r) coords_[r * p + c] = xpt(r + 1, c + 1) - mean;
  }
  std::vector<double> total(p, 0.0);
  double sum_sq = 0;
  for (std::size_t r = 0; r < m; ++r) {
    double s = 0;
    for (std::size_t c = 0; c < p; ++c) {
      const double v = coords_[r * p + c];
      s += v * v;
      total[c] += v;
    }
    row_sq_norms_[r] = s;
    sum_sq += s;
  }
  double norm = 0;
  for (double t : total) norm += t * t;
  sstotal_ = static_cast<double>(m) * sum_sq - norm;
}

// Measurement code columns: the distinct codes by first appearance, then one
// for NaN.
void FastEngine::classify_measurement_codes(const Matrix& repgroup) {
  std::vector<double> codes(rows_);
  for (std::size_t r = 0; r < rows_; ++r) codes[r] = repgroup(r + 1);
  std::size_t distinct = 0;
  const std::vector<int> column = classify(codes, distinct);
  code_columns_ = distinct + 1;
  code_of_column_.assign(code_columns_, kNaN);
  code_column_of_row_.resize(rows_);
  for (std::size_t r = 0; r < rows_; ++r) {
    code_column_of_row_[r] = static_cast<std::uint32_t>(column[r] < 0 ? distinct : column[r]);
    if (column[r] >= 0) code_of_column_[static_cast<std::size_t>(column[r])] = codes[r];
  }
}

// Specimens with equal G1 and equal G2 codes share a pair (NaN counting as
// one more code: it shares no group whichever specimen carries it).
void FastEngine::classify_specimens(const Matrix& group) {
  std::vector<double> g1(specimens_), g2(specimens_);
  for (std::size_t s = 0; s < specimens_; ++s) {
    g1[s] = group(s + 1, 1);
    g2[s] = group(s + 1, 2);
  }
  std::size_t n1 = 0, n2 = 0;
  const std::vector<int> c1 = classify(g1, n1), c2 = classify(g2, n2);
  std::unordered_map<std::size_t, std::uint32_t> pairs;
  pair_of_specimen_.resize(specimens_);
  for (std::size_t s = 0; s < specimens_; ++s) {
    const std::size_t k1 = c1[s] < 0 ? n1 : static_cast<std::size_t>(c1[s]);
    const std::size_t k2 = c2[s] < 0 ? n2 : static_cast<std::size_t>(c2[s]);
    const auto [it, fresh] =
        pairs.try_emplace(k1 * (n2 + 1) + k2, static_cast<std::uint32_t>(pairs.size()));
    if (fresh) {
      g1_of_pair_.push_back(g1[s]);
      g2_of_pair_.push_back(g2[s]);
    }
    pair_of_specimen_[s] = it->second;
  }
}

// The codes of every cell, crossed as the analyses cross the codes of rows,
// give each coding's group of each cell.
void FastEngine::build_coding_tables() {
  const std::size_t cells = g1_of_pair_.size() * code_columns_;
  std::vector<double> g1(cells), g2(cells), t(cells);
  for (std::size_t pair = 0; pair < g1_of_pair_.size(); ++pair)
    for (std::size_t column = 0; column < code_columns_; ++column) {
      const std::size_t c = pair * code_columns_ + column;
      g1[c] = g1_of_pair_[pair];
      g2[c] = g2_of_pair_[pair];
      t[c] = code_of_column_[column];
    }
  const partition::Codings codes =
      partition::crossed_codings(Matrix::column(g1), Matrix::column(g2), Matrix::column(t));
  for (std::size_t k = 0; k < kEffectCount; ++k)
    group_of_cell_[k] = classify(codes[k].values(), group_count_[k]);
}

std::unique_ptr<PermutationEngine::Worker> FastEngine::make_worker() const {
  return std::make_unique<FastWorker>(*this);
}

}  // namespace lumivar::permutation
