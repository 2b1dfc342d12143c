#include "distributions/fcdf.h"

#include <cmath>
#include <limits>
#include <vector>

#include "distributions/chi2cdf.h"
#include "distributions/distchck.h"
#include "distributions/special_functions.h"

namespace lumivar::distributions {

using runtime::Matrix;

namespace {

// The positions (1-based) at which `keep(k)` holds.
template <class Keep>
std::vector<std::size_t> positions_where(std::size_t n, Keep keep) {
  std::vector<std::size_t> out;
  for (std::size_t k = 1; k <= n; ++k)
    if (keep(k)) out.push_back(k);
  return out;
}

// A chi-square limit over the selected positions: the chi-square function of
// the column of quantiles q(k) with the column of degrees of freedom dof(k),
// in one call, so that its upper-tail saturation sees exactly these elements.
template <class Q, class Dof>
Matrix chi2cdf_at(const std::vector<std::size_t>& positions, Q q, Dof dof) {
  Matrix qs(positions.size(), 1);
  Matrix dofs(positions.size(), 1);
  for (std::size_t i = 0; i < positions.size(); ++i) {
    qs(i + 1) = q(positions[i]);
    dofs(i + 1) = dof(positions[i]);
  }
  return chi2cdf(qs, dofs);
}

}  // namespace

Matrix fcdf(const Matrix& x_in, const Matrix& v1_in, const Matrix& v2_in) {
  const std::vector<Matrix> args = detail::matched_arguments(3, {x_in, v1_in, v2_in});
  const Matrix& x = args[0];
  const Matrix& v1 = args[1];
  const Matrix& v2 = args[2];
  const std::size_t n = x.numel();

  Matrix p(x.rows(), x.cols(), 0.0);
  std::vector<bool> invalid(n + 1, false);
  for (std::size_t k = 1; k <= n; ++k) {
    invalid[k] = v1(k) <= 0 || v2(k) <= 0 || std::isnan(x(k));
    if (invalid[k]) p(k) = std::numeric_limits<double>::quiet_NaN();
  }
  // Elements that an F value decides: x > 0 and valid parameters. A NaN degree
  // of freedom passes this test but no rule below, and keeps 0.
  auto open = [&](std::size_t k) { return x(k) > 0 && !invalid[k]; };
  auto finite = [](double v) { return std::isfinite(v); };
  auto infinite = [](double v) { return !std::isfinite(v) && v > 0; };

  for (std::size_t k = 1; k <= n; ++k) {
    if (open(k) && finite(v1(k)) && finite(v2(k))) {
      const double z = x(k) / (x(k) + v2(k) / v1(k));
      p(k) = betainc(z, v1(k) / 2, v2(k) / 2);
    }
  }

  bool any_infinite_dof = false;
  for (std::size_t k = 1; k <= n; ++k)
    any_infinite_dof = any_infinite_dof || !finite(v1(k)) || !finite(v2(k));
  if (!any_infinite_dof) return p;

  // Denominator degrees infinite: v1 * F tends to chi-square with v1 degrees.
  const auto den = positions_where(
      n, [&](std::size_t k) { return open(k) && finite(v1(k)) && infinite(v2(k)); });
  if (!den.empty()) {
    const Matrix c = chi2cdf_at(
        den, [&](std::size_t k) { return v1(k) * x(k); }, [&](std::size_t k) { return v1(k); });
    for (std::size_t i = 0; i < den.size(); ++i) p(den[i]) = c(i + 1);
  }
  // Numerator degrees infinite: v2 / F tends to chi-square with v2 degrees.
  const auto num = positions_where(
      n, [&](std::size_t k) { return open(k) && infinite(v1(k)) && finite(v2(k)); });
  if (!num.empty()) {
    const Matrix c = chi2cdf_at(
        num, [&](std::size_t k) { return v2(k) / x(k); }, [&](std::size_t k) { return v2(k); });
    for (std::size_t i = 0; i < num.size(); ++i) p(num[i]) = 1 - c(i + 1);
  }
  // Both infinite: F is 1 with certainty.
  const auto both = positions_where(
      n, [&](std::size_t k) { return open(k) && infinite(v1(k)) && infinite(v2(k)); });
  for (std::size_t k : both) p(k) = x(k) >= 1 ? 1.0 : 0.0;
  return p;
}

double fcdf_upper(double x, double v1, double v2) {
  if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
  // The complement of I_z(v1/2, v2/2) at z = x / (x + v2/v1) is
  // I_(1 - z)(v2/2, v1/2); 1 - z = v2 / (v2 + v1 x) is formed directly, since
  // forming z first would leave 1 - z a relative error of eps / (1 - z),
  // which the power (1 - z)^(v2/2) of the far tail multiplies.
  if (x > 0 && v1 > 0 && v2 > 0 && std::isfinite(v1) && std::isfinite(v2))
    return betainc(v2 / (v2 + v1 * x), v2 / 2, v1 / 2);
  return 1 - fcdf(Matrix::scalar(x), Matrix::scalar(v1), Matrix::scalar(v2))(1);
}

}  // namespace lumivar::distributions
