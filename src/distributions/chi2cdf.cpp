#include "distributions/chi2cdf.h"

#include "distributions/distchck.h"
#include "distributions/gamcdf.h"

namespace lumivar::distributions {

using runtime::Matrix;

Matrix chi2cdf(const Matrix& x, const Matrix& v) {
  const std::vector<Matrix> args = detail::matched_arguments(2, {x, v});
  Matrix shape = args[1];
  for (std::size_t k = 1; k <= shape.numel(); ++k) shape(k) /= 2;
  return gamcdf(args[0], shape, Matrix::scalar(2));
}

}  // namespace lumivar::distributions
