#include "permutation/fast_engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "partition/crossed_codes.h"

namespace lumivar::permutation {

using partition::kEffectCount;
using runtime::Matrix;

namespace detail {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A sum of the same split of the rows, added in another order, differs from
// the observed one by a few rounding errors of m * sum ||x||^2 at most; this
// bound is far wider, and only decides when to compare the splits row by row.
constexpr double kSameSplitTolerance = 1e-7;

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

std::array<double, kEffectCount> in_effect_order(const partition::Divisors& d) {
  return {d.g1, d.g2, d.t, d.g12, d.g1t, d.g2t, d.all};
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
  double rows_of_key(int key) const {
    const int slot = slot_of_key_[static_cast<std::size_t>(key)];
    return slot < 0 ? 0 : rows_[static_cast<std::size_t>(slot)];
  }

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
}  // namespace detail

class FastEngine::FastWorker : public PermutationEngine::Worker {
 public:
  // `use_observed`: give a split equal to the observed one the observed sum
  // (off only while the engine computes the observed sums themselves).
  FastWorker(const FastEngine& e, bool use_observed)
      : e_(e), use_observed_(use_observed), atoms_(e.natoms_, e.p_), atom_of_row_(e.m_) {
    acc_.reserve(kEffectCount);
    for (int k = 0; k < kEffectCount; ++k) acc_.emplace_back(e.class_count_[k], e.p_);
  }

  WithinSums within_sums(const Relabelling& r) override {
    const std::array<double, kEffectCount> w = sums(r);
    return {w[0], w[1], w[2], w[3], w[4], w[5], w[6]};
  }

  // In effect order: G1, G2, T, G1xG2, G1xt, G2xt, G1xG2xT cells.
  std::array<double, kEffectCount> sums(const Relabelling& r) {
    const std::size_t mg = e_.mg_, p = e_.p_;
    // Each row into its atom.
    for (std::size_t j = 0; j < mg; ++j) {
      const std::size_t s = r.order[j];
      const std::uint32_t a0 = e_.atom(s, r.swap[j] ? j + mg : j);
      const std::uint32_t a1 = e_.atom(s, r.swap[j] ? j : j + mg);
      atom_of_row_[j] = a0;
      atom_of_row_[j + mg] = a1;
      atoms_.add(static_cast<int>(a0), e_.x_.data() + j * p, e_.sq_[j], 1);
      atoms_.add(static_cast<int>(a1), e_.x_.data() + (j + mg) * p, e_.sq_[j + mg], 1);
    }
    std::array<double, kEffectCount> w{};
    const std::array<double, kEffectCount> divisors = detail::in_effect_order(e_.divisors_);
    for (int k = 0; k < kEffectCount; ++k) {
      const std::vector<int>& groups = e_.classes_[k];
      detail::Accumulator& acc = acc_[static_cast<std::size_t>(k)];
      for (std::size_t a = 0; a < atoms_.used(); ++a)
        acc.add(groups[static_cast<std::size_t>(atoms_.key(a))], atoms_.sum(a), atoms_.sq(a),
                atoms_.rows(a));
      w[k] = acc.within() / divisors[static_cast<std::size_t>(k)];
      if (use_observed_ && std::abs(w[k] - e_.observed_[k]) <= e_.tolerance_[k] &&
          same_split(k, groups, acc))
        w[k] = e_.observed_[k];
      acc.reset();
    }
    atoms_.reset();
    return w;
  }

 private:
  // Whether coding k splits the rows as the observed labelling does: the
  // groups of two or more rows correspond one to one, and a row alone (or
  // with a NaN code, which pairs with nothing) is alone in both.
  bool same_split(int k, const std::vector<int>& groups, const detail::Accumulator& acc) {
    const std::vector<int>& observed = e_.observed_group_[k];
    const std::vector<std::uint32_t>& observed_size = e_.observed_size_[k];
    to_observed_.assign(groups.size(), -1);
    to_relabelled_.assign(observed_size.size(), -1);
    for (std::size_t row = 0; row < e_.m_; ++row) {
      const int rc = groups[atom_of_row_[row]];
      const int oc = observed[row];
      const bool r_alone = rc < 0 || acc.rows_of_key(rc) == 1;
      const bool o_alone = oc < 0 || observed_size[static_cast<std::size_t>(oc)] == 1;
      if (r_alone != o_alone) return false;
      if (r_alone) continue;
      int& to_o = to_observed_[static_cast<std::size_t>(rc)];
      int& to_r = to_relabelled_[static_cast<std::size_t>(oc)];
      if (to_o < 0 && to_r < 0) {
        to_o = oc;
        to_r = rc;
      } else if (to_o != oc || to_r != rc) {
        return false;
      }
    }
    return true;
  }

  const FastEngine& e_;
  bool use_observed_;
  detail::Accumulator atoms_;
  std::vector<detail::Accumulator> acc_;
  std::vector<std::uint32_t> atom_of_row_;
  std::vector<int> to_observed_, to_relabelled_;
};

FastEngine::FastEngine(const DesignData& design)
    : mg_(design.group.rows()),
      m_(2 * design.group.rows()),
      p_(design.xpt.cols() > 0 ? design.xpt.cols() - 1 : 0),
      divisors_(partition::make_divisors(design.sizes)) {
  const Matrix& xpt = design.xpt;
  // Centred rows, row-major so that one row's coordinates are contiguous.
  x_.assign(m_ * p_, 0.0);
  sq_.assign(m_, 0.0);
  std::vector<double> total(p_, 0.0);
  for (std::size_t c = 0; c < p_; ++c) {
    double mean = 0;
    for (std::size_t r = 0; r < m_; ++r) mean += xpt(r + 1, c + 1);
    mean /= static_cast<double>(m_);
    for (std::size_t r = 0; r < m_; ++r) x_[r * p_ + c] = xpt(r + 1, c + 1) - mean;
  }
  double sum_sq = 0;
  for (std::size_t r = 0; r < m_; ++r) {
    double s = 0;
    for (std::size_t c = 0; c < p_; ++c) {
      const double v = x_[r * p_ + c];
      s += v * v;
      total[c] += v;
    }
    sq_[r] = s;
    sum_sq += s;
  }
  double norm = 0;
  for (double t : total) norm += t * t;
  sstotal_ = (static_cast<double>(m_) * sum_sq - norm) / design.sizes.m;

  // Measurement code columns: the distinct codes by first appearance, then NaN.
  std::vector<double> t(m_);
  for (std::size_t r = 0; r < m_; ++r) t[r] = design.repgroup(r + 1);
  std::size_t distinct = 0;
  const std::vector<int> tclass = detail::classify(t, distinct);
  ncodes_ = distinct + 1;
  std::vector<double> tvalue(ncodes_, detail::kNaN);
  tcode_.resize(m_);
  for (std::size_t r = 0; r < m_; ++r) {
    tcode_[r] = static_cast<std::uint32_t>(tclass[r] < 0 ? distinct : tclass[r]);
    if (tclass[r] >= 0) tvalue[static_cast<std::size_t>(tclass[r])] = t[r];
  }

  // Specimens with equal G1 and equal G2 codes (NaN counting as one more
  // code: it shares no group whichever specimen carries it) form one combo.
  std::vector<double> g1(mg_), g2(mg_);
  for (std::size_t s = 0; s < mg_; ++s) {
    g1[s] = design.group(s + 1, 1);
    g2[s] = design.group(s + 1, 2);
  }
  std::size_t n1 = 0, n2 = 0;
  const std::vector<int> c1 = detail::classify(g1, n1), c2 = detail::classify(g2, n2);
  std::unordered_map<std::size_t, std::uint32_t> combos;
  std::vector<double> combo_g1, combo_g2;
  combo_.resize(mg_);
  for (std::size_t s = 0; s < mg_; ++s) {
    const std::size_t k1 = c1[s] < 0 ? n1 : static_cast<std::size_t>(c1[s]);
    const std::size_t k2 = c2[s] < 0 ? n2 : static_cast<std::size_t>(c2[s]);
    const auto [it, fresh] =
        combos.try_emplace(k1 * (n2 + 1) + k2, static_cast<std::uint32_t>(combos.size()));
    if (fresh) {
      combo_g1.push_back(g1[s]);
      combo_g2.push_back(g2[s]);
    }
    combo_[s] = it->second;
  }
  const std::size_t ncombos = combos.size();
  natoms_ = ncombos * ncodes_;

  // Codes of every atom, and its groups: each crossing numbers the distinct
  // pairs of codes, as for the relabelled rows, so every atom is one
  // G1xG2xT cell (or in no group, when a code is NaN).
  std::vector<double> a1(natoms_), a2(natoms_), at(natoms_);
  for (std::size_t c = 0; c < ncombos; ++c)
    for (std::size_t b = 0; b < ncodes_; ++b) {
      a1[c * ncodes_ + b] = combo_g1[c];
      a2[c * ncodes_ + b] = combo_g2[c];
      at[c * ncodes_ + b] = tvalue[b];
    }
  const Matrix g1col = Matrix::column(a1), g2col = Matrix::column(a2), tcol = Matrix::column(at);
  const Matrix g2t = partition::cross_codes(g2col, tcol);
  const Matrix crossed[kEffectCount] = {g1col,
                                        g2col,
                                        tcol,
                                        partition::cross_codes(g1col, g2col),
                                        partition::cross_codes(g1col, tcol),
                                        g2t,
                                        partition::cross_codes(g1col, g2t)};
  for (int k = 0; k < kEffectCount; ++k)
    classes_[k] = detail::classify(crossed[k].values(), class_count_[k]);

  // The observed labelling: groups of every row, their sizes and sums.
  for (int k = 0; k < kEffectCount; ++k) {
    const std::vector<int>& groups = classes_[k];
    observed_group_[k].resize(m_);
    observed_size_[k].assign(class_count_[k], 0);
    for (std::size_t r = 0; r < m_; ++r) {
      const int g = groups[atom(r % mg_, r)];
      observed_group_[k][r] = g;
      if (g >= 0) ++observed_size_[k][static_cast<std::size_t>(g)];
    }
  }
  const std::array<double, kEffectCount> observed =
      FastWorker(*this, false).sums(identity_relabelling(mg_));
  const std::array<double, kEffectCount> divisors = detail::in_effect_order(divisors_);
  for (int k = 0; k < kEffectCount; ++k) {
    observed_[k] = observed[k];
    tolerance_[k] = detail::kSameSplitTolerance * static_cast<double>(m_) * sum_sq /
                    std::abs(divisors[static_cast<std::size_t>(k)]);
  }
}

std::unique_ptr<PermutationEngine::Worker> FastEngine::make_worker() const {
  return std::make_unique<FastWorker>(*this, true);
}

}  // namespace lumivar::permutation
