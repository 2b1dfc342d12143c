#include "distributions/distchck.h"

#include "runtime/error.h"

namespace lumivar::distributions {

using runtime::Matrix;

DistchckResult distchck(double nparms, const std::vector<Matrix>& args, std::size_t n) {
  DistchckResult r;
  if (nparms == 1) {
    if (args.empty()) runtime::raise("Not enough input arguments.");
    r.args.push_back(args.front());
    return r;
  }
  if (args.size() < n) runtime::raise("Not enough input arguments.");
  r.args.assign(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(n));

  const Matrix* common = nullptr;
  for (const Matrix& a : r.args) {
    if (!a.is_scalar()) {
      common = &a;
      break;
    }
  }
  if (common == nullptr) return r;
  // Copy the size first: `common` points into r.args, which is rewritten below.
  const std::size_t rows = common->rows();
  const std::size_t cols = common->cols();
  for (Matrix& a : r.args) {
    if (a.is_scalar()) {
      a = Matrix(rows, cols, a(1));
    } else if (a.rows() != rows || a.cols() != cols) {
      r.errorcode = 1;
      return r;
    }
  }
  return r;
}

DistchckResult distchck(double nparms, const std::vector<Matrix>& args) {
  return distchck(nparms, args, args.size());
}

namespace detail {

std::vector<Matrix> matched_arguments(double nparms, const std::vector<Matrix>& args) {
  DistchckResult r = distchck(nparms, args);
  if (r.errorcode > 0) runtime::raise("Requires non-scalar arguments to match in size.");
  return std::move(r.args);
}

}  // namespace detail

}  // namespace lumivar::distributions
