#pragma once
// Text to numbers for one line of a numeric text file.
//
// Numbers are ordinary decimal notation (sign, digits, decimal point,
// exponent) plus Inf and NaN (any case, optionally signed), read the same
// under every locale (the window program runs under the user's). Values are
// separated by blanks, tabs or commas; runs of separators count as one.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::runtime {

// The number written by `token` exactly (no surrounding text), or nothing.
// Magnitudes beyond the largest double give +-Inf, those below the smallest
// give +-0, as the C library does.
std::optional<double> parse_number(std::string_view token);

struct NumberRow {
  std::vector<double> values;
  // The first token that is not a number, or (decimal_comma) the first value
  // written with a decimal comma such as "12,5"; empty when the whole line
  // converted.
  std::string bad_token;
  // The line separates its values by blanks or tabs and has a comma between
  // two digits: it was most likely written with decimal commas, and reading
  // the commas as separators would double the values silently.
  bool decimal_comma = false;
  bool ok() const { return bad_token.empty(); }
};

NumberRow parse_number_row(std::string_view line);

}  // namespace lumivar::runtime
