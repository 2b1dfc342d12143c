#include "permutation/fast_engine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "input/mergegroups.h"

namespace lumivar::permutation {

using partition::kEffectCount;
using runtime::Matrix;

namespace detail {
namespace {

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

// Running sums of the groups of one coding under one relabelling. A group
// gets its slot when its first row arrives, so slots are in order of first
// row and each slot adds its rows in visiting order.
class Accumulator {
 public:
  Accumulator(std::size_t classes, std::size_t p) : slot_of_class_(classes, -1), p_(p) {}

  void grow_classes(std::size_t classes) {
    if (slot_of_class_.size() < classes) slot_of_class_.resize(classes, -1);
  }

  void add(int cls, const double* __restrict__ v, double sq, double rows) {
    if (cls < 0) return;
    int& slot = slot_of_class_[cls];
    if (slot < 0) {
      slot = static_cast<int>(class_of_slot_.size());
      class_of_slot_.push_back(cls);
      sq_.push_back(sq);
      rows_.push_back(rows);
      sums_.insert(sums_.end(), v, v + p_);
      return;
    }
    double* __restrict__ acc = sums_.data() + static_cast<std::size_t>(slot) * p_;
    for (std::size_t k = 0; k < p_; ++k) acc[k] += v[k];
    sq_[slot] += sq;
    rows_[slot] += rows;
  }

  // Sum over groups, in slot order, of n * sum ||x||^2 - ||sum x||^2; then
  // forgets the groups for the next relabelling.
  double take_within() {
    double w = 0;
    for (std::size_t s = 0; s < class_of_slot_.size(); ++s) {
      const double* a = sums_.data() + s * p_;
      double norm = 0;
      for (std::size_t k = 0; k < p_; ++k) norm += a[k] * a[k];
      w += rows_[s] * sq_[s] - norm;
      slot_of_class_[class_of_slot_[s]] = -1;
    }
    class_of_slot_.clear();
    sq_.clear();
    rows_.clear();
    sums_.clear();
    return w;
  }

 private:
  std::vector<int> slot_of_class_;
  std::vector<int> class_of_slot_;
  std::vector<double> sq_, rows_, sums_;
  std::size_t p_;
};

}  // namespace
}  // namespace detail

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
  for (std::size_t r = 0; r < m_; ++r) {
    double s = 0;
    for (std::size_t c = 0; c < p_; ++c) {
      const double v = x_[r * p_ + c];
      s += v * v;
      total[c] += v;
    }
    sq_[r] = s;
  }
  {
    double sum_sq = 0, norm = 0;
    for (std::size_t r = 0; r < m_; ++r) sum_sq += sq_[r];
    for (double t : total) norm += t * t;
    const double rows = static_cast<double>(m_);
    sstotal_ = (rows * sum_sq - norm) / design.sizes.m;
  }
  y_.assign(mg_ * p_, 0.0);
  ysq_.assign(mg_, 0.0);
  for (std::size_t j = 0; j < mg_; ++j) {
    for (std::size_t c = 0; c < p_; ++c) y_[j * p_ + c] = x_[j * p_ + c] + x_[(j + mg_) * p_ + c];
    ysq_[j] = sq_[j] + sq_[j + mg_];
  }

  // Specimen codings.
  std::vector<double> g1(mg_), g2(mg_);
  for (std::size_t s = 0; s < mg_; ++s) {
    g1[s] = design.group(s + 1, 1);
    g2[s] = design.group(s + 1, 2);
  }
  g1_code_ = g1;
  g1_ = detail::classify(g1, classes_[partition::kG1]);
  g2_ = detail::classify(g2, classes_[partition::kG2]);
  const Matrix g12 = input::mergegroups(Matrix::column(g1), Matrix::column(g2));
  g12_ = detail::classify(g12.values(), classes_[partition::kG1xG2]);

  // Measurement codes: one column per distinct code (first appearance), and
  // a last column for NaN codes.
  std::vector<double> t(m_);
  for (std::size_t r = 0; r < m_; ++r) t[r] = design.repgroup(r + 1);
  std::size_t distinct = 0;
  const std::vector<int> tclass = detail::classify(t, distinct);
  ncodes_ = distinct + 1;
  std::vector<double> tvalue(ncodes_, std::numeric_limits<double>::quiet_NaN());
  tcode_.resize(m_);
  for (std::size_t r = 0; r < m_; ++r) {
    tcode_[r] = static_cast<std::uint32_t>(tclass[r] < 0 ? distinct : tclass[r]);
    if (tclass[r] >= 0) tvalue[tclass[r]] = t[r];
  }
  t_ = detail::classify(tvalue, classes_[partition::kT]);

  // Crossings with the measurement code, per (specimen, code column). The
  // largest measurement code is the same for every relabelling (codes only
  // change places), so mergegroups over the table's columns crosses exactly
  // as over the relabelled rows.
  std::vector<double> a1(mg_ * ncodes_), a2(mg_ * ncodes_), b(mg_ * ncodes_);
  for (std::size_t s = 0; s < mg_; ++s)
    for (std::size_t k = 0; k < ncodes_; ++k) {
      a1[s * ncodes_ + k] = g1[s];
      a2[s * ncodes_ + k] = g2[s];
      b[s * ncodes_ + k] = tvalue[k];
    }
  g1t_ = detail::classify(input::mergegroups(Matrix::column(a1), Matrix::column(b)).values(),
                          classes_[partition::kG1xT]);
  g2t_code_ = input::mergegroups(Matrix::column(a2), Matrix::column(b)).values();
  g2t_ = detail::classify(g2t_code_, classes_[partition::kG2xT]);

  // Ranks of the G2xT codes, for finding the largest one of a relabelling.
  g2t_by_rank_.clear();
  for (double v : g2t_code_)
    if (!std::isnan(v)) g2t_by_rank_.push_back(v);
  std::sort(g2t_by_rank_.begin(), g2t_by_rank_.end());
  g2t_by_rank_.erase(std::unique(g2t_by_rank_.begin(), g2t_by_rank_.end()), g2t_by_rank_.end());
  g2t_rank_.resize(g2t_code_.size());
  for (std::size_t i = 0; i < g2t_code_.size(); ++i) {
    const double v = g2t_code_[i];
    g2t_rank_[i] = std::isnan(v) ? -1
                                 : static_cast<int>(std::lower_bound(g2t_by_rank_.begin(),
                                                                     g2t_by_rank_.end(), v) -
                                                    g2t_by_rank_.begin());
  }
  // At most one group per table entry.
  classes_[partition::kG1xG2xT] = mg_ * ncodes_;
}

std::vector<int> FastEngine::all_classes(int rank) const {
  // The crossing mergegroups makes: G1 * (largest G2xT code + 1) + G2xT.
  const double largest =
      rank < 0 ? std::numeric_limits<double>::quiet_NaN() : g2t_by_rank_[rank];
  std::vector<double> codes(g2t_code_.size());
  for (std::size_t s = 0; s < mg_; ++s)
    for (std::size_t k = 0; k < ncodes_; ++k)
      codes[s * ncodes_ + k] = g1_code_[s] * (largest + 1) + g2t_code_[s * ncodes_ + k];
  std::size_t count = 0;
  return detail::classify(codes, count);
}

class FastEngine::FastWorker : public PermutationEngine::Worker {
 public:
  explicit FastWorker(const FastEngine& e) : e_(e), codes_(2 * e.mg_) {
    acc_.reserve(kEffectCount);
    for (int k = 0; k < kEffectCount; ++k) acc_.emplace_back(e.classes_[k], e.p_);
    all_.resize(e.g2t_by_rank_.size() + 1);
  }

  WithinSums within_sums(const Relabelling& r) override {
    const std::size_t mg = e_.mg_, p = e_.p_, nc = e_.ncodes_;
    // Measurement code column of both rows of each slot, and the largest
    // relabelled G2xT code, which fixes the G1xG2xT crossing.
    int largest = -1;
    for (std::size_t j = 0; j < mg; ++j) {
      const std::size_t s = r.order[j];
      const std::uint32_t c0 = e_.tcode_[r.swap[j] ? j + mg : j];
      const std::uint32_t c1 = e_.tcode_[r.swap[j] ? j : j + mg];
      codes_[2 * j] = c0;
      codes_[2 * j + 1] = c1;
      largest = std::max({largest, e_.g2t_rank_[s * nc + c0], e_.g2t_rank_[s * nc + c1]});
    }
    std::vector<int>& all = all_[static_cast<std::size_t>(largest + 1)];
    if (all.empty()) all = e_.all_classes(largest);

    auto& a1 = acc_[partition::kG1];
    auto& a2 = acc_[partition::kG2];
    auto& at = acc_[partition::kT];
    auto& a12 = acc_[partition::kG1xG2];
    auto& a1t = acc_[partition::kG1xT];
    auto& a2t = acc_[partition::kG2xT];
    auto& aall = acc_[partition::kG1xG2xT];
    for (std::size_t j = 0; j < mg; ++j) {
      const std::size_t s = r.order[j];
      // Both rows of a slot carry the same group codes: add them as one.
      const double* y = e_.y_.data() + j * p;
      a1.add(e_.g1_[s], y, e_.ysq_[j], 2);
      a2.add(e_.g2_[s], y, e_.ysq_[j], 2);
      a12.add(e_.g12_[s], y, e_.ysq_[j], 2);
      for (std::size_t half = 0; half < 2; ++half) {
        const std::size_t row = j + half * mg;
        const std::size_t cell = s * nc + codes_[2 * j + half];
        const double* x = e_.x_.data() + row * p;
        const double sq = e_.sq_[row];
        at.add(e_.t_[codes_[2 * j + half]], x, sq, 1);
        a1t.add(e_.g1t_[cell], x, sq, 1);
        a2t.add(e_.g2t_[cell], x, sq, 1);
        aall.add(all[cell], x, sq, 1);
      }
    }
    const partition::Divisors& d = e_.divisors_;
    WithinSums w;
    w.g1 = a1.take_within() / d.g1;
    w.g2 = a2.take_within() / d.g2;
    w.t = at.take_within() / d.t;
    w.g12 = a12.take_within() / d.g12;
    w.g1t = a1t.take_within() / d.g1t;
    w.g2t = a2t.take_within() / d.g2t;
    w.all = aall.take_within() / d.all;
    return w;
  }

 private:
  const FastEngine& e_;
  std::vector<detail::Accumulator> acc_;
  std::vector<std::uint32_t> codes_;
  std::vector<std::vector<int>> all_;  // G1xG2xT tables by rank + 1, made when first needed
};

std::unique_ptr<PermutationEngine::Worker> FastEngine::make_worker() const {
  return std::make_unique<FastWorker>(*this);
}

}  // namespace lumivar::permutation
