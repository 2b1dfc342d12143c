#pragma once
// The gamma distribution function with shape a and scale b, element-wise with
// scalar expansion. a <= 0 or b <= 0 gives NaN; x <= 0 and a NaN x give 0.
// Results above 1 are clamped to 1, and when any result of the call is not
// finite, every element whose x is at least sqrt(largest double) becomes 1.
// Cost: one incomplete gamma evaluation per element.
#include "runtime/matrix.h"

namespace lumivar::distributions {

// Raises "Requires non-scalar arguments to match in size." when two non-scalar
// arguments differ in size.
runtime::Matrix gamcdf(const runtime::Matrix& x, const runtime::Matrix& a,
                       const runtime::Matrix& b = runtime::Matrix::scalar(1.0));

}  // namespace lumivar::distributions
