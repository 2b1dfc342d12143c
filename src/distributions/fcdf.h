#pragma once
// The F distribution function with v1 numerator and v2 denominator degrees of
// freedom, element-wise with scalar expansion. Invalid degrees of freedom
// (<= 0) and a NaN x give NaN; x <= 0 and a NaN degree of freedom give 0; an
// infinite degree of freedom gives the limiting chi-square (or step) function.
// Cost: one incomplete beta (or gamma) evaluation per element.
#include "runtime/matrix.h"

namespace lumivar::distributions {

// Raises "Requires non-scalar arguments to match in size." when two non-scalar
// arguments differ in size.
runtime::Matrix fcdf(const runtime::Matrix& x, const runtime::Matrix& v1,
                     const runtime::Matrix& v2);

}  // namespace lumivar::distributions
