#pragma once
// The chi-square distribution function with v degrees of freedom, element-wise
// with scalar expansion: the gamma distribution function with shape v/2 and
// scale 2. Cost: one incomplete gamma evaluation per element.
#include "runtime/matrix.h"

namespace lumivar::distributions {

// Raises "Requires non-scalar arguments to match in size." when x and v are
// both non-scalar and differ in size.
runtime::Matrix chi2cdf(const runtime::Matrix& x, const runtime::Matrix& v);

}  // namespace lumivar::distributions
