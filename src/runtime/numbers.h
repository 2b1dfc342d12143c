#pragma once
// Text to numbers for one line of a numeric text file.
//
// Numbers are ordinary decimal notation (sign, digits, decimal point,
// exponent) plus Inf and NaN (any case, optionally signed). Values are
// separated by blanks, tabs or commas; runs of separators count as one.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivar::runtime {

// The number written by `token` exactly (no surrounding text), or nothing.
std::optional<double> parse_number(std::string_view token);

struct NumberRow {
  std::vector<double> values;
  // The first token that is not a number; empty when the whole line converted.
  std::string bad_token;
  bool ok() const { return bad_token.empty(); }
};

NumberRow parse_number_row(std::string_view line);

}  // namespace lumivar::runtime
