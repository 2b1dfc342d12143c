#include "permutation/strata_test.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <tbb/blocked_range.h>
#include <tbb/enumerable_thread_specific.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include "permutation/relabelling.h"
#include "permutation/ties.h"
#include "runtime/error.h"

namespace lumivar::permutation {

namespace {

using partition::kEffectCount;
using partition::PerEffect;
using partition::StrataDesign;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

enum class Model { kNone, kG1Means, kG2Means, kAdditive };  // the reduced model
enum class Term { kG1, kG2, kG1xG2, kMean };                 // what the numerator measures

struct Setup {
  bool between;  // permute specimen means; otherwise flip the signs of differences
  Model model;
  Term term;
};

// In the partition's effect order: G1, G2, T, G1xG2, G1xt, G2xt, G1xG2xt.
constexpr PerEffect<Setup> kSetups = {{
    {true, Model::kG2Means, Term::kG1},
    {true, Model::kG1Means, Term::kG2},
    {false, Model::kNone, Term::kMean},
    {true, Model::kAdditive, Term::kG1xG2},
    {false, Model::kG2Means, Term::kG1},
    {false, Model::kG1Means, Term::kG2},
    {false, Model::kAdditive, Term::kG1xG2},
}};

// Means of mg rows of p values (row-major) per cell, per G1 and G2 level and
// overall, in a balanced design.
class Means {
 public:
  Means(const StrataDesign& d, std::size_t p)
      : d_(d), p_(p), cell_(d.cells() * p), g1_(d.n1 * p), g2_(d.n2 * p), all_(p) {}

  // `row(j, out)` writes row j into out[0 .. p).
  template <typename Row>
  void compute(Row row) {
    std::fill(cell_.begin(), cell_.end(), 0.0);
    buffer_.resize(p_);
    for (std::size_t j = 0; j < d_.mg; ++j) {
      row(j, buffer_.data());
      double* c = cell_.data() + d_.cell[j] * p_;
      for (std::size_t k = 0; k < p_; ++k) c[k] += buffer_[k];
    }
    const double per_cell = static_cast<double>(d_.per_cell);
    for (double& v : cell_) v /= per_cell;
    std::fill(g1_.begin(), g1_.end(), 0.0);
    std::fill(g2_.begin(), g2_.end(), 0.0);
    std::fill(all_.begin(), all_.end(), 0.0);
    for (std::size_t a = 0; a < d_.n1; ++a)
      for (std::size_t b = 0; b < d_.n2; ++b) {
        const double* c = cell(a, b);
        for (std::size_t k = 0; k < p_; ++k) {
          g1_[a * p_ + k] += c[k] / static_cast<double>(d_.n2);
          g2_[b * p_ + k] += c[k] / static_cast<double>(d_.n1);
          all_[k] += c[k] / static_cast<double>(d_.cells());
        }
      }
  }

  const double* cell(std::size_t a, std::size_t b) const {
    return cell_.data() + (a * d_.n2 + b) * p_;
  }
  const double* g1(std::size_t a) const { return g1_.data() + a * p_; }
  const double* g2(std::size_t b) const { return g2_.data() + b * p_; }
  const double* all() const { return all_.data(); }

  // The fitted value of specimen j under `model`.
  void fitted(Model model, std::size_t j, double* out) const {
    const double* a = g1(d_.level1[j]);
    const double* b = g2(d_.level2[j]);
    for (std::size_t k = 0; k < p_; ++k) {
      switch (model) {
        case Model::kNone: out[k] = 0; break;
        case Model::kG1Means: out[k] = a[k]; break;
        case Model::kG2Means: out[k] = b[k]; break;
        case Model::kAdditive: out[k] = a[k] + b[k] - all_[k]; break;
      }
    }
  }

  // The numerator's sum over the specimens (each specimen counted once).
  double term_sum(Term term) const {
    const double n = static_cast<double>(d_.per_cell);
    double sum = 0;
    switch (term) {
      case Term::kG1:
        for (std::size_t a = 0; a < d_.n1; ++a) sum += squared_distance(g1(a), all());
        return sum * n * static_cast<double>(d_.n2);
      case Term::kG2:
        for (std::size_t b = 0; b < d_.n2; ++b) sum += squared_distance(g2(b), all());
        return sum * n * static_cast<double>(d_.n1);
      case Term::kG1xG2:
        for (std::size_t a = 0; a < d_.n1; ++a)
          for (std::size_t b = 0; b < d_.n2; ++b) {
            const double *c = cell(a, b), *ga = g1(a), *gb = g2(b);
            for (std::size_t k = 0; k < p_; ++k) {
              const double v = c[k] - ga[k] - gb[k] + all_[k];
              sum += v * v;
            }
          }
        return sum * n;
      case Term::kMean:
        for (std::size_t k = 0; k < p_; ++k) sum += all_[k] * all_[k];
        return sum * static_cast<double>(d_.mg);
    }
    return kNaN;
  }

  // Sum over specimens of |row j - its cell mean|^2.
  template <typename Row>
  double within_cells(Row row) {
    double sum = 0;
    for (std::size_t j = 0; j < d_.mg; ++j) {
      row(j, buffer_.data());
      const double* c = cell_.data() + d_.cell[j] * p_;
      for (std::size_t k = 0; k < p_; ++k) {
        const double v = buffer_[k] - c[k];
        sum += v * v;
      }
    }
    return sum;
  }

 private:
  double squared_distance(const double* a, const double* b) const {
    double s = 0;
    for (std::size_t k = 0; k < p_; ++k) s += (a[k] - b[k]) * (a[k] - b[k]);
    return s;
  }

  const StrataDesign& d_;
  std::size_t p_;
  std::vector<double> cell_, g1_, g2_, all_, buffer_;
};

// Numerator and denominator sums of one effect under one relabelling, in
// the same units, so that their ratio times df_denominator / df is F.
struct Ratio {
  double num = 0, den = 0;
};

// The fitted values and residuals of every effect's reduced model.
class StrataData {
 public:
  StrataData(const runtime::Matrix& xpt, const StrataDesign& d)
      : d_(d), p_(xpt.cols() > 0 ? xpt.cols() - 1 : 0) {
    // Specimen means centred on their overall mean (no sum depends on the
    // centre; it keeps the differences of large coordinates exact), and
    // specimen differences as they are (T tests their mean).
    std::vector<double> s(d.mg * p_), diff(d.mg * p_);
    for (std::size_t c = 0; c < p_; ++c) {
      double centre = 0;
      for (std::size_t j = 0; j < d.mg; ++j) {
        const double lo = xpt(d.lower_row[j] + 1, c + 1), hi = xpt(d.upper_row[j] + 1, c + 1);
        s[j * p_ + c] = (lo + hi) / 2;
        diff[j * p_ + c] = lo - hi;
        centre += s[j * p_ + c];
      }
      centre /= static_cast<double>(d.mg);
      for (std::size_t j = 0; j < d.mg; ++j) s[j * p_ + c] -= centre;
    }
    Means means(d, p_);
    for (int k = 0; k < kEffectCount; ++k) {
      const Setup& setup = kSetups[k];
      const std::vector<double>& v = setup.between ? s : diff;
      means.compute([&](std::size_t j, double* out) {
        std::copy_n(v.data() + j * p_, p_, out);
      });
      fitted_[k].resize(d.mg * p_);
      residual_[k].resize(d.mg * p_);
      scale_[k] = 0;
      for (std::size_t j = 0; j < d.mg; ++j) {
        double* f = fitted_[k].data() + j * p_;
        double* e = residual_[k].data() + j * p_;
        means.fitted(setup.model, j, f);
        for (std::size_t c = 0; c < p_; ++c) {
          e[c] = v[j * p_ + c] - f[c];
          scale_[k] += e[c] * e[c];
        }
      }
    }
  }

  std::size_t coordinates() const { return p_; }
  // The total sum of squares of what effect k's relabellings move.
  double scale(int k) const { return scale_[k]; }

  // Effect k's sums when relabelled by r: fitted values of slot j plus the
  // residual of specimen r.order[j] (between), or plus or minus the residual
  // of specimen j (within).
  Ratio ratio(int k, const Relabelling& r, Means& means) const {
    const Setup& setup = kSetups[k];
    const double* f = fitted_[k].data();
    const double* e = residual_[k].data();
    const std::size_t p = p_;
    const auto row = [&](std::size_t j, double* out) {
      const double* fj = f + j * p;
      if (setup.between) {
        const double* ej = e + static_cast<std::size_t>(r.order[j]) * p;
        for (std::size_t c = 0; c < p; ++c) out[c] = fj[c] + ej[c];
      } else {
        const double* ej = e + j * p;
        const double sign = r.swap[j] ? -1.0 : 1.0;
        for (std::size_t c = 0; c < p; ++c) out[c] = fj[c] + sign * ej[c];
      }
    };
    means.compute(row);
    return {means.term_sum(setup.term), means.within_cells(row)};
  }

 private:
  const StrataDesign& d_;
  std::size_t p_;
  PerEffect<std::vector<double>> fitted_, residual_;
  PerEffect<double> scale_{};
};

// Running mean and sum of squared deviations, merged in a fixed order so
// that the result does not depend on how the work was split.
struct Moments {
  double n = 0, mean = 0, m2 = 0;
  void add(double x) {
    n += 1;
    const double delta = x - mean;
    mean += delta / n;
    m2 += delta * (x - mean);
  }
  void merge(const Moments& o) {
    if (o.n == 0) return;
    const double total = n + o.n;
    const double delta = o.mean - mean;
    mean += delta * o.n / total;
    m2 += o.m2 + delta * delta * n * o.n / total;
    n = total;
  }
};

struct Block {
  PerEffect<std::uint64_t> hits{};
  PerEffect<Moments> f{};
  std::uint64_t done = 0;
};

// Relabellings are handled in blocks of this many, and blocks are merged in
// their order, so the sums of F do not depend on the threads.
constexpr std::uint64_t kBlock = 64;

}  // namespace

StrataTest strata_test(const runtime::Matrix& xpt, const partition::StrataDesign& design,
                       const RunPlan& plan) {
  using partition::kEffectCount;
  const StrataData data(xpt, design);
  const std::size_t p = data.coordinates();
  const partition::DesignSizes sizes{static_cast<double>(2 * design.mg),
                                     static_cast<double>(design.n1),
                                     static_cast<double>(design.n2), 2};
  const PerEffect<double> df = partition::effect_dfs(sizes);
  const double df_den = design.df_denominator();

  StrataTest out;
  out.nperm = plan.nperm;
  out.seed = plan.seed;
  PerEffect<Ratio> observed;
  {
    Means means(design, p);
    const Relabelling identity = identity_relabelling(design.mg);
    for (int k = 0; k < kEffectCount; ++k) {
      observed[k] = data.ratio(k, identity, means);
      // No degrees of freedom, no F: rounding noise over 0 must not become a P.
      out.f[k] = df[k] > 0 ? (observed[k].num / df[k]) / (observed[k].den / df_den) : kNaN;
    }
  }

  const auto cancelled = [&] {
    return plan.cancel != nullptr && plan.cancel->load(std::memory_order_relaxed);
  };
  std::atomic<bool> stopped{cancelled()};
  tbb::enumerable_thread_specific<std::unique_ptr<Means>> workers(
      [&] { return std::make_unique<Means>(design, p); });

  const std::uint64_t blocks = (plan.nperm + kBlock - 1) / kBlock;
  const int threads = std::max(1, plan.threads);
  const std::uint64_t wave = 4 * static_cast<std::uint64_t>(threads);
  std::vector<Block> results;
  Block total;
  tbb::task_arena arena(threads);
  for (std::uint64_t first = 0; first < blocks && !stopped;) {
    const std::uint64_t last = std::min(blocks, first + wave);
    results.assign(last - first, Block{});
    arena.execute([&] {
      tbb::parallel_for(tbb::blocked_range<std::uint64_t>(first, last, 1), [&](const auto& range) {
        Means& means = *workers.local();
        Relabelling r;
        for (std::uint64_t b = range.begin(); b != range.end(); ++b) {
          Block& block = results[b - first];
          const std::uint64_t end = std::min(plan.nperm, (b + 1) * kBlock);
          for (std::uint64_t i = b * kBlock; i < end; ++i) {
            if (stopped.load(std::memory_order_relaxed) || cancelled()) {
              stopped = true;
              return;
            }
            draw_relabelling(plan.seed, i, design.mg, r);
            for (int k = 0; k < kEffectCount; ++k) {
              const Ratio x = data.ratio(k, r, means);
              if (ratio_at_least(x.num, x.den, observed[k].num, observed[k].den, data.scale(k)))
                ++block.hits[k];
              block.f[k].add((x.num / df[k]) / (x.den / df_den));
            }
            ++block.done;
          }
        }
      });
    });
    for (const Block& block : results) {
      for (int k = 0; k < kEffectCount; ++k) {
        total.hits[k] += block.hits[k];
        total.f[k].merge(block.f[k]);
      }
      total.done += block.done;
    }
    first = last;
    if (plan.progress && !stopped)
      plan.progress(static_cast<std::size_t>(std::min(plan.nperm, first * kBlock)),
                    static_cast<std::size_t>(plan.nperm));
  }
  if (stopped)
    runtime::raise("The tests by strata were cancelled after " + std::to_string(total.done) +
                   " of " + std::to_string(plan.nperm) + " relabellings; nothing was written.");
  if (plan.progress && plan.nperm == 0) plan.progress(0, 0);

  const double labellings = static_cast<double>(plan.nperm) + 1;
  for (int k = 0; k < kEffectCount; ++k) {
    out.counts[k] = 1 + total.hits[k];
    out.p[k] = std::isnan(out.f[k]) ? kNaN : static_cast<double>(out.counts[k]) / labellings;
    const Moments& m = total.f[k];
    const double sd = m.n >= 2 ? std::sqrt(m.m2 / (m.n - 1)) : kNaN;
    out.z[k] = sd > 0 && std::isfinite(sd) ? (out.f[k] - m.mean) / sd : kNaN;
  }
  return out;
}

}  // namespace lumivar::permutation
