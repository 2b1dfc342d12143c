#include "runtime/numbers.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace lumivar::runtime {
namespace detail {

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

}  // namespace detail

std::optional<double> parse_number(std::string_view token) {
  if (token.empty()) return std::nullopt;
  bool negative = false;
  std::string_view body = token;
  if (body[0] == '+' || body[0] == '-') {
    negative = body[0] == '-';
    body.remove_prefix(1);
  }
  if (detail::iequals(body, "inf") || detail::iequals(body, "infinity")) {
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
  }
  if (detail::iequals(body, "nan")) return std::numeric_limits<double>::quiet_NaN();
  if (!detail::is_decimal(body)) return std::nullopt;
  double v = 0.0;
  auto r = std::from_chars(body.data(), body.data() + body.size(), v);
  // Out-of-range magnitudes: from_chars reports them; follow strtod (Inf or 0).
  if (r.ec == std::errc::result_out_of_range) {
    v = std::strtod(std::string(body).c_str(), nullptr);
  } else if (r.ec != std::errc() || r.ptr != body.data() + body.size()) {
    return std::nullopt;
  }
  return negative ? -v : v;
}

NumberRow parse_number_row(std::string_view line) {
  NumberRow row;
  std::size_t i = 0;
  auto is_sep = [](char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n'; };
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
