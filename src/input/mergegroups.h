#pragma once
// Crossing two code columns into one: group1 * (max(group2) + 1) + group2,
// element by element. With whole codes and a second column that is not
// negative, two rows get the same combined code exactly when both of their
// codes are equal.
#include "runtime/matrix.h"

namespace lumivar::input {

// Raises when the two columns differ in length.
runtime::Matrix mergegroups(const runtime::Matrix& group1, const runtime::Matrix& group2);

}  // namespace lumivar::input
