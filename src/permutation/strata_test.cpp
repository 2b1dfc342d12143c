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
#include "permutation/reported_waves.h"
#include "permutation/ties.h"
#include "runtime/error.h"

namespace lumivar::permutation {

namespace {

using models::CellMoves;
using models::Stratum;
using models::StrataFit;
using partition::kEffectCount;
using partition::PerEffect;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Running mean and sum of squared deviations, merged in a fixed order so
// that the result does not depend on how the work was split; `broken` once
// a value could not be taken (the log of a zero or infinite F).
struct Moments {
  double n = 0, mean = 0, m2 = 0;
  bool broken = false;
  void add(double x) {
    if (!std::isfinite(x)) {
      broken = true;
      return;
    }
    n += 1;
    const double delta = x - mean;
    mean += delta / n;
    m2 += delta * (x - mean);
  }
  void merge(const Moments& o) {
    broken = broken || o.broken;
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
  PerEffect<Moments> log_f{};
  std::uint64_t done = 0;
};

struct Worker {
  explicit Worker(const StrataFit& fit) : between(fit.between), within(fit.within) {}
  CellMoves between, within;
  Relabelling r;
};

// Relabellings are handled in blocks of this many, and blocks are merged in
// their order, so the sums of log F do not depend on the threads.
constexpr std::uint64_t kBlock = 64;

double f_ratio(const models::StratumSums& s, double df, double df_den) {
  return (s.term / df) / (s.residual / df_den);
}

}  // namespace

StrataTest strata_test(const StrataFit& fit, const models::StrataTable& table,
                       const RunPlan& plan) {
  const double df_den = fit.design.df_denominator();
  const std::size_t n = fit.design.specimens();

  StrataTest out;
  out.nperm = plan.nperm;
  out.seed = plan.seed;
  // Effects that take part: an F that exists and a sum that is not zero. A
  // zero sum is reached by every relabelling.
  PerEffect<bool> tested{};
  PerEffect<models::StratumSums> observed{};
  for (int k = 0; k < kEffectCount; ++k) {
    tested[k] = !std::isnan(table.effects[k].f) && table.effects[k].ss > 0;
    observed[k] = fit.stratum(k).observed(models::term_index(k));
  }

  ReportedWaves relay(plan);
  const auto cancelled = [&] { return relay.cancelled(); };
  std::atomic<bool> stopped{plan.cancel != nullptr && plan.cancel->load()};
  std::atomic<std::uint64_t> done{0};
  tbb::enumerable_thread_specific<std::unique_ptr<Worker>> workers(
      [&] { return std::make_unique<Worker>(fit); });

  const std::uint64_t blocks = (plan.nperm + kBlock - 1) / kBlock;
  const int threads = std::max(1, plan.threads);
  const std::uint64_t wave = 4 * static_cast<std::uint64_t>(threads);
  std::vector<Block> results;
  Block total;
  const auto run_waves = [&](const WaveDone& wave_done) {
    tbb::task_arena arena(threads);
    for (std::uint64_t first = 0; first < blocks && !stopped;) {
      const std::uint64_t last = std::min(blocks, first + wave);
      results.assign(last - first, Block{});
      arena.execute([&] {
        tbb::parallel_for(tbb::blocked_range<std::uint64_t>(first, last, 1), [&](const auto& range) {
          Worker& w = *workers.local();
          for (std::uint64_t b = range.begin(); b != range.end(); ++b) {
            Block& block = results[b - first];
            const std::uint64_t end = std::min(plan.nperm, (b + 1) * kBlock);
            for (std::uint64_t i = b * kBlock; i < end; ++i) {
              if (stopped.load(std::memory_order_relaxed) || cancelled()) {
                stopped = true;
                return;
              }
              draw_relabelling(plan.seed, i, n, w.r);
              fit.between.permuted(w.r.order, w.between);
              fit.within.flipped(w.r.swap, w.within);
              for (int k = 0; k < kEffectCount; ++k) {
                if (!tested[k]) continue;
                const bool between = models::between_specimens(k);
                const Stratum& s = fit.stratum(k);
                const std::size_t t = models::term_index(k);
                const models::StratumSums x = s.relabelled(t, between ? w.between.moved : w.within.moved,
                                                           between ? w.between.weights : w.within.weights);
                if (ratio_at_least(x.term, x.residual, observed[k].term, observed[k].residual,
                                   s.scale(t)))
                  ++block.hits[k];
                block.log_f[k].add(std::log(f_ratio(x, s.df(t), df_den)));
              }
              ++block.done;
              done.fetch_add(1, std::memory_order_relaxed);
            }
          }
        });
      });
      for (const Block& block : results) {
        for (int k = 0; k < kEffectCount; ++k) {
          total.hits[k] += block.hits[k];
          total.log_f[k].merge(block.log_f[k]);
        }
        total.done += block.done;
      }
      first = last;
      if (wave_done && !stopped) wave_done(std::min(plan.nperm, first * kBlock));
      if (cancelled()) stopped = true;
    }
  };
  relay.run(done, run_waves);
  if (stopped)
    runtime::raise_cancelled("The tests by strata were cancelled after " + std::to_string(total.done) +
                   " of " + std::to_string(plan.nperm) + " relabellings; nothing was written.");
  if (plan.progress && plan.nperm == 0) plan.progress(0, 0);

  const double labellings = static_cast<double>(plan.nperm) + 1;
  for (int k = 0; k < kEffectCount; ++k) {
    const double f = table.effects[k].f;
    out.counts[k] = tested[k] ? 1 + total.hits[k] : plan.nperm + 1;
    out.p[k] = std::isnan(f) ? kNaN : static_cast<double>(out.counts[k]) / labellings;
    const Moments& m = total.log_f[k];
    const double sd = m.n >= 2 && !m.broken ? std::sqrt(m.m2 / (m.n - 1)) : kNaN;
    out.z[k] = tested[k] && sd > 0 && std::isfinite(sd) ? (std::log(f) - m.mean) / sd : kNaN;
  }
  return out;
}

}  // namespace lumivar::permutation
