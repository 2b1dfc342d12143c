#include "geometry/allpairwiseprocrustes.h"

#include <algorithm>

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include "geometry/getconsensus.h"

namespace lumivar::geometry {

namespace detail {
namespace {

// Rows of the distance matrix are handed out in blocks this small because
// their cost falls from m pairs (first row) to one (last row).
constexpr std::size_t kRowGrain = 8;
// Tile edge of the transposition that mirrors the lower triangle.
constexpr std::size_t kTile = 64;

// Fills entries i+1 .. m-1 (0-based) of column i of `d` (zero on entry) with
// the distances from specimen i. `x` is column-major with leading dimension
// m, so each coordinate column is contiguous over the specimens: the loop
// over specimens vectorises while every entry still adds its squared
// differences one coordinate after the other, in column order.
void fill_column(const double* x, std::size_t m, std::size_t coords, std::size_t i, double* d) {
  double* __restrict__ out = d + i * m;
  for (std::size_t c = 0; c < coords; ++c) {
    const double* __restrict__ col = x + c * m;
    const double a = col[i];
    for (std::size_t j = i + 1; j < m; ++j) {
      const double t = a - col[j];
      out[j] += t * t;
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

}  // namespace
}  // namespace detail

runtime::Matrix squared_distances(const runtime::Matrix& xpt, int threads) {
  const std::size_t m = xpt.rows();
  const std::size_t coords = xpt.cols() == 0 ? 0 : xpt.cols() - 1;
  runtime::Matrix d(m, m);
  if (m < 2) return d;
  const double* x = xpt.data();
  double* out = d.data();
  tbb::task_arena arena(threads > 0 ? threads : tbb::task_arena::automatic);
  arena.execute([&] {
    tbb::parallel_for(tbb::blocked_range<std::size_t>(0, m - 1, detail::kRowGrain),
                      [&](const tbb::blocked_range<std::size_t>& r) {
                        for (std::size_t i = r.begin(); i != r.end(); ++i)
                          detail::fill_column(x, m, coords, i, out);
                      });
    const std::size_t tiles = (m + detail::kTile - 1) / detail::kTile;
    tbb::parallel_for(tbb::blocked_range<std::size_t>(0, tiles, 1),
                      [&](const tbb::blocked_range<std::size_t>& r) {
                        detail::mirror_tiles(out, m, r.begin(), r.end());
                      });
  });
  return d;
}

ProcrustesDistances procrustes_distances(const runtime::Matrix& data, int threads) {
  Consensus fit = getconsensus(data);
  ProcrustesDistances result;
  result.d = squared_distances(fit.xpt, threads);
  result.xpt = std::move(fit.xpt);
  result.iterations = fit.iterations;
  return result;
}

runtime::Matrix allpairwiseprocrustes(const runtime::Matrix& data, int threads) {
  return procrustes_distances(data, threads).d;
}

}  // namespace lumivar::geometry
