#pragma once
// Helpers shared by the distribution tests.
#include <cmath>
#include <limits>
#include <string>

#include "distributions/chi2cdf.h"
#include "distributions/fcdf.h"
#include "distributions/gamcdf.h"
#include "runtime/error.h"
#include "runtime/matrix.h"
#include "support/error_message.h"

namespace lumivar::distributions::testing {

inline constexpr double kEps = std::numeric_limits<double>::epsilon();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();
using runtime::Matrix;

// The distribution functions at one point.
inline double f(double x, double v1, double v2) {
  return fcdf(Matrix::scalar(x), Matrix::scalar(v1), Matrix::scalar(v2))(1);
}
inline double g(double x, double a, double b = 1) {
  return gamcdf(Matrix::scalar(x), Matrix::scalar(a), Matrix::scalar(b))(1);
}
inline double chi2(double x, double v) {
  return chi2cdf(Matrix::scalar(x), Matrix::scalar(v))(1);
}

// Same size and, element by element, equal doubles or both NaN.
inline bool same(const Matrix& a, const Matrix& b) {
  if (a.rows() != b.rows() || a.cols() != b.cols()) return false;
  for (std::size_t k = 1; k <= a.numel(); ++k)
    if (!(a(k) == b(k) || (std::isnan(a(k)) && std::isnan(b(k))))) return false;
  return true;
}

}  // namespace lumivar::distributions::testing
