#include "runtime/numbers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace lumivar::runtime {
namespace {

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Decimal notation: digits[.digits] or .digits, then optionally e[+-]digits.
bool is_decimal(std::string_view t) {
  std::size_t i = 0;
  std::size_t int_digits = 0;
  std::size_t frac_digits = 0;
  while (i < t.size() && is_digit(t[i])) { ++i; ++int_digits; }
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && is_digit(t[i])) { ++i; ++frac_digits; }
  }
  if (int_digits + frac_digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t exp_digits = 0;
    while (i < t.size() && is_digit(t[i])) { ++i; ++exp_digits; }
    if (exp_digits == 0) return false;
  }
  return i == t.size();
}

// What from_chars leaves to the caller for a decimal body out of range:
// Inf when the magnitude is above the largest double, 0 when below the
// smallest. Which one follows from the position of the first non-zero digit
// and the exponent.
double out_of_range_magnitude(std::string_view t) {
  long long order = 0;  // power of ten of the first non-zero digit, plus one
  bool nonzero = false;
  std::size_t i = 0;
  for (; i < t.size() && is_digit(t[i]); ++i) {
    nonzero = nonzero || t[i] != '0';
    if (nonzero) ++order;
  }
  if (i < t.size() && t[i] == '.') {
    for (++i; i < t.size() && is_digit(t[i]); ++i) {
      if (nonzero) continue;
      if (t[i] != '0') {
        nonzero = true;
      } else {
        --order;
      }
    }
  }
  long long exponent = 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    for (; i < t.size(); ++i) exponent = std::min(exponent * 10 + (t[i] - '0'), 1000000LL);  // saturates
    if (negative) exponent = -exponent;
  }
  return order + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n'; }

// The first value of `line` with a comma between two digits, when the line
// also separates two values by blanks or tabs alone; otherwise empty.
std::string decimal_comma_value(std::string_view line) {
  bool blank_separated = false;
  std::size_t comma = std::string_view::npos;
  bool after_value = false;
  for (std::size_t i = 0; i < line.size();) {
    if (!is_separator(line[i])) {
      after_value = true;
      ++i;
      continue;
    }
    const std::size_t start = i;
    bool has_comma = false;
    for (; i < line.size() && is_separator(line[i]); ++i) {
      has_comma = has_comma || line[i] == ',';
      if (line[i] == ',' && comma == std::string_view::npos && i == start && i > 0 &&
          i + 1 < line.size() && is_digit(line[i - 1]) && is_digit(line[i + 1]))
        comma = i;
    }
    if (after_value && i < line.size() && !has_comma) blank_separated = true;
  }
  if (!blank_separated || comma == std::string_view::npos) return "";
  std::size_t first = comma;
  std::size_t last = comma;
  while (first > 0 && !is_blank(line[first - 1])) --first;
  while (last < line.size() && !is_blank(line[last])) ++last;
  return std::string(line.substr(first, last - first));
}

}  // namespace

std::optional<double> parse_number(std::string_view token) {
  if (token.empty()) return std::nullopt;
  bool negative = false;
  std::string_view body = token;
  if (body[0] == '+' || body[0] == '-') {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  if (iequals(body, "inf") || iequals(body, "infinity")) {
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
  }
  if (iequals(body, "nan")) return std::numeric_limits<double>::quiet_NaN();
  if (!is_decimal(body)) return std::nullopt;
  double v = 0.0;
  auto r = std::from_chars(body.data(), body.data() + body.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    v = out_of_range_magnitude(body);
  } else if (r.ec != std::errc() || r.ptr != body.data() + body.size()) {
    return std::nullopt;
  }
  return negative ? -v : v;
}

NumberRow parse_number_row(std::string_view line) {
  NumberRow row;
  row.bad_token = decimal_comma_value(line);
  if (!row.bad_token.empty()) {
    row.decimal_comma = true;
    return row;
  }
  std::size_t i = 0;
  const auto is_sep = is_separator;
  while (i < line.size()) {
    while (i < line.size() && is_sep(line[i])) ++i;
    if (i >= line.size()) break;
    std::size_t start = i;
    while (i < line.size() && !is_sep(line[i])) ++i;
    std::string_view token = line.substr(start, i - start);
    std::optional<double> v = parse_number(token);
    if (!v) {
      row.bad_token = std::string(token);
      return row;
    }
    row.values.push_back(*v);
  }
  return row;
}

}  // namespace lumivar::runtime
