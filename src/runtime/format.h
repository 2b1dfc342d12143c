#pragma once
// printf-style formatting of the program's texts.
//
// format(fmt, values): the values are flattened (a matrix gives its elements in
// column order, an empty matrix none, a text is one value for %s); the
// two-character escapes \n, \t and \\ in the format become a line break, a tab
// and a backslash; output stops just before the first conversion that has no
// value left (the literal text before it is still written). When values remain
// at the end of the format, the format is used again from its start.
// Non-finite numbers print as Inf, -Inf and NaN in the conversion's width.
// Under %i and %d a whole number prints as an integer and a value that is not
// whole prints as with %f.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/value.h"

namespace lumivar::runtime {

std::string format(std::string_view fmt, const std::vector<Value>& values = {});

// Drops each piece's trailing blanks, tabs and line breaks, then concatenates.
std::string join(const std::vector<std::string>& pieces);

}  // namespace lumivar::runtime
