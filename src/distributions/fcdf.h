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

// The upper tail 1 - fcdf(x, v1, v2) of one F value, computed directly as
// the complemented incomplete beta function where the degrees of freedom are
// finite, so that a tail below 1e-16 keeps its value (1 - fcdf cancels to 0
// there). NaN or
// infinite x gives NaN; x <= 0 gives 1; other cases are 1 - fcdf.
double fcdf_upper(double x, double v1, double v2);

}  // namespace lumivar::distributions
