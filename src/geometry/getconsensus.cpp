#include "geometry/getconsensus.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include "geometry/centpos.h"
#include "geometry/centsize.h"
#include "geometry/rotation_3d.h"
#include "runtime/error.h"
#include "runtime/threads.h"

namespace lumivar::geometry {

namespace {

void check_layout(std::size_t n, std::size_t m, std::size_t d) {
  if (n < 2) {
    runtime::raise("The landmark data holds " + std::to_string(n) +
                   " specimen(s); the superimposition needs at least two.");
  }
  if (d == 3) {
    if (m % 3 != 1 || m == 1)
      runtime::raise("The landmark data has " + std::to_string(m) +
                     " columns; as three-dimensional landmarks each row should hold the x, y and "
                     "z of every landmark plus one trailing value, 3k + 1 columns.");
    return;
  }
  if (d != 2)
    runtime::raise("Landmarks have two or three coordinates, not " + std::to_string(d) + ".");
  const std::string layout =
      "each row should hold the x and y of every landmark plus one trailing value";
  if (m % 2 == 0) {
    runtime::raise("The landmark data has " + std::to_string(m) + " columns; " + layout +
                   ", an odd number of columns.");
  }
  // A lone trailing column would give all distances zero and a report of
  // nothing but undefined ratios.
  if (m == 1) {
    runtime::raise("The landmark data has 1 column, which holds no landmark; " + layout + ".");
  }
}

// Centres the configuration on its centroid and divides its coordinates (not
// the trailing value) by its centroid size, which is taken of the centred row.
void centre_and_scale(double* row, std::size_t m, std::size_t d) {
  double c[3];
  detail::centroid(row, m, c, d);
  const std::size_t k = m / d;
  for (std::size_t j = 0; j < k; ++j)
    for (std::size_t a = 0; a < d; ++a) row[d * j + a] -= c[a];
  const double size = detail::centroid_size(row, m, d);
  for (std::size_t col = 0; col + 1 < m; ++col) row[col] /= size;
}

// Rotates the k landmarks of `row` counter-clockwise by the least-squares
// angle onto `ref`. Every new coordinate is built from the coordinates before
// the rotation; `scratch` (k values) holds the new x values meanwhile.
void rotate_onto(double* row, const double* ref, std::size_t k, double* scratch) {
  double ct = 0.0;
  double st = 0.0;
  for (std::size_t j = 0; j < k; ++j)
    ct += ref[2 * j] * row[2 * j] + ref[2 * j + 1] * row[2 * j + 1];
  for (std::size_t j = 0; j < k; ++j)
    st += row[2 * j] * ref[2 * j + 1] - row[2 * j + 1] * ref[2 * j];
  const double theta = std::atan2(st, ct);
  const double cs = std::cos(theta);
  const double sn = std::sin(theta);
  for (std::size_t j = 0; j < k; ++j) scratch[j] = row[2 * j] * cs - row[2 * j + 1] * sn;
  for (std::size_t j = 0; j < k; ++j) row[2 * j + 1] = row[2 * j] * sn + row[2 * j + 1] * cs;
  for (std::size_t j = 0; j < k; ++j) row[2 * j] = scratch[j];
}

// Rows handed to one task at a time: a row costs a few hundred nanoseconds.
constexpr std::size_t kRowGrain = 1024;

// Rotates every row of the row-major n x m working copy onto `ref`, rows in
// parallel: each row depends only on itself and `ref`, so the result is the
// same whoever rotates it. This is the one step that knows the dimension d.
void rotate_all(std::vector<double>& w, std::size_t n, std::size_t m, std::size_t d,
                const double* ref) {
  const std::size_t k = (m - 1) / d;
  tbb::parallel_for(tbb::blocked_range<std::size_t>(0, n, kRowGrain),
                    [&](const tbb::blocked_range<std::size_t>& r) {
                      if (d == 3) {
                        for (std::size_t i = r.begin(); i != r.end(); ++i)
                          detail::rotate_onto_3d(&w[i * m], ref, k);
                        return;
                      }
                      std::vector<double> scratch(k);
                      for (std::size_t i = r.begin(); i != r.end(); ++i)
                        rotate_onto(&w[i * m], ref, k, scratch.data());
                    });
}

// Column sums of the working copy, each column added row by row in row
// order, as a column-by-column mean over the rows adds them: the same bits
// for any number of threads. Each thread takes one contiguous range of
// columns and walks the rows once, so the copy is read about once in all
// (a task per column would read every cache line once per column).
void column_sums(const std::vector<double>& w, std::size_t n, std::size_t m,
                 std::vector<double>& colsum) {
  const auto threads = static_cast<std::size_t>(tbb::this_task_arena::max_concurrency());
  const std::size_t width = (m + threads - 1) / threads;
  tbb::parallel_for(
      tbb::blocked_range<std::size_t>(0, m, width),
      [&](const tbb::blocked_range<std::size_t>& r) {
        std::fill(colsum.begin() + static_cast<std::ptrdiff_t>(r.begin()),
                  colsum.begin() + static_cast<std::ptrdiff_t>(r.end()), 0.0);
        for (std::size_t i = 0; i < n; ++i)
          for (std::size_t c = r.begin(); c != r.end(); ++c) colsum[c] += w[i * m + c];
      },
      tbb::simple_partitioner());
}

}  // namespace

Consensus getconsensus(const runtime::Matrix& x, int max_iterations) {
  SuperimpositionSettings settings;
  settings.max_iterations = max_iterations;
  return getconsensus(x, settings);
}

Consensus getconsensus(const runtime::Matrix& x, const SuperimpositionSettings& settings) {
  const int max_iterations = settings.max_iterations;
  const std::size_t n = x.rows();
  const std::size_t m = x.cols();
  const auto d = static_cast<std::size_t>(settings.dimensions);
  check_layout(n, m, d);
  const std::size_t coords = m - 1;

  // Row-major working copy: every step below walks one configuration at a time.
  std::vector<double> w(n * m);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t c = 0; c < m; ++c) w[i * m + c] = x(i + 1, c + 1);

  tbb::task_arena arena(runtime::worker_threads(settings.threads));
  arena.execute([&] {
    tbb::parallel_for(tbb::blocked_range<std::size_t>(0, n, kRowGrain),
                      [&](const tbb::blocked_range<std::size_t>& r) {
                        for (std::size_t i = r.begin(); i != r.end(); ++i)
                          centre_and_scale(&w[i * m], m, d);
                      });
  });

  std::vector<double> xref(w.begin(), w.begin() + static_cast<std::ptrdiff_t>(m));
  std::vector<double> xrefold(m);
  std::vector<double> colsum(m);
  double xd = 1.0;
  int iterations = 0;
  while (xd > kConsensusTolerance) {  // NaN compares false and ends the loop
    if (iterations >= max_iterations) {
      runtime::raise("The superimposition did not converge after " +
                     std::to_string(iterations) +
                     (iterations == 1 ? " iteration." : " iterations."));
    }
    ++iterations;
    arena.execute([&] {
      rotate_all(w, n, m, d, xref.data());
      column_sums(w, n, m, colsum);
    });
    xrefold = xref;
    const auto rows = static_cast<double>(n);
    for (std::size_t c = 0; c < m; ++c) xref[c] = colsum[c] / rows;
    // All m entries, the trailing mean included, are divided by the norm of
    // the coordinates alone.
    double squares = 0.0;
    for (std::size_t c = 0; c < coords; ++c) squares += xref[c] * xref[c];
    const double norm = std::sqrt(squares);
    for (std::size_t c = 0; c < m; ++c) xref[c] /= norm;
    xd = 0.0;
    for (std::size_t c = 0; c < coords; ++c) {
      const double change = xref[c] - xrefold[c];
      xd += change * change;
    }
    if (settings.progress) settings.progress(iterations, xd);
  }

  Consensus result;
  result.y = runtime::Matrix::row(std::move(xref));
  result.xpt = runtime::Matrix(n, m);
  for (std::size_t c = 0; c < m; ++c)
    for (std::size_t i = 0; i < n; ++i) result.xpt(i + 1, c + 1) = w[i * m + c];
  result.iterations = iterations;
  return result;
}

}  // namespace lumivar::geometry
