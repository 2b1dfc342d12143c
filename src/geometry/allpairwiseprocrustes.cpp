#include "geometry/allpairwiseprocrustes.h"

#include <algorithm>
#include <string>

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include "geometry/distance_memory.h"
#include "geometry/getconsensus.h"
#include "runtime/error.h"
#include "runtime/threads.h"

namespace lumivar::geometry {

namespace {

// Specimens whose distance columns are filled together: each coordinate of
// another specimen is loaded once for all of them.
constexpr std::size_t kGroup = 4;
// Specimens compared per pass, so that the group's partial sums stay in L1.
constexpr std::size_t kChunk = 256;
// Groups of the distance matrix are handed out in small blocks because their
// cost falls from m pairs (first rows) to a few (last rows).
constexpr std::size_t kGroupGrain = 2;
// Tile edge of the transposition that mirrors the lower triangle.
constexpr std::size_t kTile = 64;

// Adds to entries j0 .. j1-1 (0-based) of column i of `d` the squared
// differences between specimen i and specimen j in one coordinate column
// `col` (contiguous over the specimens), so the loop over j vectorises.
void add_square(const double* __restrict__ col, std::size_t i, std::size_t j0, std::size_t j1,
                double* __restrict__ out) {
  const double a = col[i];
  for (std::size_t j = j0; j < j1; ++j) {
    const double t = a - col[j];
    out[j] += t * t;
  }
}

// The same for four specimens i .. i+3 at once, each value col[j] loaded once.
void add_squares4(const double* __restrict__ col, std::size_t i, std::size_t j0, std::size_t j1,
                  double* __restrict__ out0, double* __restrict__ out1,
                  double* __restrict__ out2, double* __restrict__ out3) {
  const double a0 = col[i];
  const double a1 = col[i + 1];
  const double a2 = col[i + 2];
  const double a3 = col[i + 3];
  for (std::size_t j = j0; j < j1; ++j) {
    const double v = col[j];
    const double t0 = a0 - v;
    const double t1 = a1 - v;
    const double t2 = a2 - v;
    const double t3 = a3 - v;
    out0[j] += t0 * t0;
    out1[j] += t1 * t1;
    out2[j] += t2 * t2;
    out3[j] += t3 * t3;
  }
}

// Fills the lower triangle of columns i0 .. i1-1 (at most kGroup of them) of
// `d`, which is zero on entry: entry (j, i) for every j > i. Each entry adds
// its squared differences one coordinate after the other, in column order,
// exactly as a plain loop over the pairs does; `x` is column-major with
// leading dimension m.
void fill_columns(const double* x, std::size_t m, std::size_t coords, std::size_t i0,
                  std::size_t i1, double* d) {
  const bool whole = i1 - i0 == kGroup;
  for (std::size_t j0 = i0 + 1; j0 < m; j0 += kChunk) {
    const std::size_t j1 = std::min(j0 + kChunk, m);
    for (std::size_t c = 0; c < coords; ++c) {
      const double* col = x + c * m;
      // Below the group every column takes all of j0 .. j1-1; inside it each
      // column starts below its own diagonal.
      const std::size_t below = std::max(j0, i1);
      for (std::size_t i = i0; i < i1; ++i) {
        const std::size_t first = std::max(j0, i + 1);
        add_square(col, i, first, whole ? std::min(below, j1) : j1, d + i * m);
      }
      if (whole && below < j1) {
        add_squares4(col, i0, below, j1, d + i0 * m, d + (i0 + 1) * m, d + (i0 + 2) * m,
                     d + (i0 + 3) * m);
      }
    }
  }
}

// Copies the lower triangle of the m x m column-major matrix onto the upper
// one, a tile at a time so that both the reads and the writes stay in cache.
void mirror_tiles(double* d, std::size_t m, std::size_t first_tile, std::size_t last_tile) {
  for (std::size_t ti = first_tile; ti < last_tile; ++ti) {
    const std::size_t i0 = ti * kTile;
    const std::size_t i1 = std::min(i0 + kTile, m);
    for (std::size_t j0 = i0; j0 < m; j0 += kTile) {
      const std::size_t j1 = std::min(j0 + kTile, m);
      for (std::size_t j = j0; j < j1; ++j)
        for (std::size_t i = i0; i < std::min(i1, j); ++i) d[j * m + i] = d[i * m + j];
    }
  }
}

bool stopped(const std::atomic<bool>* cancel) {
  return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

}  // namespace

runtime::Matrix squared_distances(const runtime::Matrix& xpt, int threads, const std::atomic<bool>* cancel,
                                  const DistanceProgress& progress) {
  const std::size_t m = xpt.rows();
  const std::size_t coords = xpt.cols() == 0 ? 0 : xpt.cols() - 1;
  runtime::Matrix d(m, m);
  if (m < 2) return d;
  const double* x = xpt.data();
  double* out = d.data();
  tbb::task_arena arena(runtime::worker_threads(threads));
  arena.execute([&] {
    const std::size_t groups = (m + kGroup - 1) / kGroup;
    // Watched, the columns go in about 256 batches, each reported from this
    // thread, so that a cancel is heard within a batch's time. Every column
    // group is filled on its own, so the batches change no bit.
    const std::size_t batch = progress ? std::max<std::size_t>(1, groups / 256) : groups;
    for (std::size_t first = 0; first < groups; first += batch) {
      const std::size_t last = std::min(first + batch, groups);
      tbb::parallel_for(tbb::blocked_range<std::size_t>(first, last, kGroupGrain),
                        [&](const tbb::blocked_range<std::size_t>& r) {
                          for (std::size_t g = r.begin(); g != r.end(); ++g) {
                            if (stopped(cancel)) return;
                            const std::size_t i0 = g * kGroup;
                            fill_columns(x, m, coords, i0, std::min(i0 + kGroup, m), out);
                          }
                        });
      if (stopped(cancel)) return;
      if (progress && !progress(std::min(last * kGroup, m), m))
        runtime::raise_cancelled("The distance matrix was cancelled after " +
                                 std::to_string(std::min(last * kGroup, m)) + " of " +
                                 std::to_string(m) + " rows; nothing was changed.");
    }
    const std::size_t tiles = (m + kTile - 1) / kTile;
    tbb::parallel_for(tbb::blocked_range<std::size_t>(0, tiles, 1),
                      [&](const tbb::blocked_range<std::size_t>& r) {
                        mirror_tiles(out, m, r.begin(), r.end());
                      });
  });
  if (stopped(cancel))
    runtime::raise_cancelled("The analysis was cancelled while it built the distance matrix of " +
                             std::to_string(m) + " rows; nothing was written.");
  return d;
}

ProcrustesDistances procrustes_distances(const runtime::Matrix& data, int threads) {
  SuperimpositionSettings superimposition;
  superimposition.threads = threads;
  Consensus fit = getconsensus(data, superimposition);
  ProcrustesDistances result;
  result.d = squared_distances(fit.xpt, threads);
  result.xpt = std::move(fit.xpt);
  result.consensus = std::move(fit.y);
  result.iterations = fit.iterations;
  return result;
}

runtime::Matrix allpairwiseprocrustes(const runtime::Matrix& data, int threads) {
  check_distance_matrix_memory(data.rows());
  return procrustes_distances(data, threads).d;
}

}  // namespace lumivar::geometry
